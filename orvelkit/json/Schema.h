#pragma once

// Records are described once: for each JSON key, the member it fills and its
// presence rule. Decoding, encoding and the checks between them are derived
// from that description (see JsonDecoder.h and JsonEncoder.h).
//
//   inline auto jsonSchema(std::type_identity<CardField>) {
//       using namespace OrvelKit::Json;
//       return std::tuple{requiredKey("label", &CardField::label),
//                         requiredKey("value", &CardField::value)};
//   }
//
// The function is found by argument-dependent lookup, so a record's schema
// lives beside the record in the record's own namespace.
//
// Presence rules:
//  - required: the key must be present and not null; it is always written.
//  - optional: a missing key or null gives an absent value; written only when present.
//  - defaulted: a missing key or null gives the fallback; always written.

#include <optional>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace OrvelKit::Json {

template <class Record, class Member>
struct RequiredKey {
    std::string_view key;
    Member Record::*member;
};

template <class Record, class Member>
struct OptionalKey {
    std::string_view key;
    std::optional<Member> Record::*member;
};

template <class Record, class Member>
struct DefaultedKey {
    std::string_view key;
    Member Record::*member;
    Member fallback;
};

template <class Record, class Member>
constexpr RequiredKey<Record, Member> requiredKey(std::string_view key, Member Record::*member) {
    return {key, member};
}

template <class Record, class Member>
constexpr OptionalKey<Record, Member> optionalKey(std::string_view key,
                                                  std::optional<Member> Record::*member) {
    return {key, member};
}

template <class Record, class Member>
DefaultedKey<Record, Member> defaultedKey(std::string_view key, Member Record::*member,
                                          std::type_identity_t<Member> fallback = {}) {
    return {key, member, std::move(fallback)};
}

// A type with a schema.
template <class T>
concept Record = requires {
    jsonSchema(std::type_identity<T>{});
};

// The schema of a record, built once.
template <Record T>
inline const auto schemaOf = jsonSchema(std::type_identity<T>{});

} // namespace OrvelKit::Json
