#pragma once

// The decoding half of the schema codec, over simdjson's DOM. Include this only
// from .cpp files that instantiate decoders; everyone else uses Json.h.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/Schema.h"

#include <simdjson.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace OrvelKit::Json::detail {

// Collects the failure and, while unwinding, the key path that led to it.
// Nothing is allocated on the success path.
class DecodeFailure {
public:
    void fail(std::string message) { message_ = std::move(message); }
    void atKey(std::string_view key) { reversedPath_.emplace_back(key); }
    void atIndex(std::size_t index) {
        reversedPath_.push_back(concat({"[", std::to_string(index), "]"}));
    }

    DecodeError error() const {
        std::string path;
        for (auto it = reversedPath_.rbegin(); it != reversedPath_.rend(); ++it) {
            if (!path.empty() && it->front() != '[') {
                path += '.';
            }
            path += *it;
        }
        return DecodeError{std::move(path), message_};
    }

private:
    std::string message_;
    std::vector<std::string> reversedPath_;
};

inline std::string_view typeName(simdjson::dom::element_type type) {
    using simdjson::dom::element_type;
    switch (type) {
    case element_type::ARRAY:
        return "an array";
    case element_type::OBJECT:
        return "an object";
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
        return "a number";
    case element_type::STRING:
        return "a string";
    case element_type::BOOL:
        return "a boolean";
    case element_type::NULL_VALUE:
        return "null";
    }
    return "an unknown value";
}

inline bool mismatch(simdjson::dom::element element, std::string_view expected,
                     DecodeFailure& failure) {
    failure.fail(concat({"expected ", expected, ", found ", typeName(element.type())}));
    return false;
}

inline bool decodeText(simdjson::dom::element element, std::string_view& text,
                       DecodeFailure& failure) {
    if (element.get_string().get(text)) {
        return mismatch(element, "a string", failure);
    }
    return true;
}

inline bool decodeValue(simdjson::dom::element element, std::string& out, DecodeFailure& failure) {
    std::string_view text;
    if (!decodeText(element, text, failure)) {
        return false;
    }
    out = std::string(text); // cheaper than assign() into the empty string
    return true;
}

inline bool decodeValue(simdjson::dom::element element, bool& out, DecodeFailure& failure) {
    if (element.get_bool().get(out)) {
        return mismatch(element, "a boolean", failure);
    }
    return true;
}

// Unsigned integers are exact: negatives, fractions and exponent forms fail.
// (A number beyond 64 bits already fails the parse of the whole text.)
inline bool decodeUnsigned(simdjson::dom::element element, std::uint64_t max, std::string_view what,
                           std::uint64_t& out, DecodeFailure& failure) {
    using simdjson::dom::element_type;
    switch (element.type()) {
    case element_type::UINT64:
        out = element.get_uint64().value_unsafe();
        break;
    case element_type::INT64: {
        const std::int64_t value = element.get_int64().value_unsafe();
        if (value < 0) {
            failure.fail(std::to_string(value) + " is not " + std::string(what));
            return false;
        }
        out = static_cast<std::uint64_t>(value);
        break;
    }
    case element_type::DOUBLE: {
        char text[32];
        auto end = std::to_chars(text, text + sizeof text, element.get_double().value_unsafe()).ptr;
        failure.fail(std::string(text, end) + " is not " + std::string(what));
        return false;
    }
    default:
        return mismatch(element, what, failure);
    }
    if (out > max) {
        failure.fail(std::to_string(out) + " is not " + std::string(what));
        return false;
    }
    return true;
}

inline bool decodeValue(simdjson::dom::element element, std::uint64_t& out,
                        DecodeFailure& failure) {
    return decodeUnsigned(element, UINT64_MAX, "an unsigned 64-bit integer", out, failure);
}

inline bool decodeValue(simdjson::dom::element element, std::uint8_t& out, DecodeFailure& failure) {
    std::uint64_t wide = 0;
    if (!decodeUnsigned(element, UINT8_MAX, "an integer from 0 to 255", wide, failure)) {
        return false;
    }
    out = static_cast<std::uint8_t>(wide);
    return true;
}

template <Enumeration E>
bool decodeValue(simdjson::dom::element element, E& out, DecodeFailure& failure) {
    std::string_view name;
    if (element.get_string().get(name)) {
        return mismatch(element, "a string", failure);
    }
    if (auto value = fromText<E>(name)) {
        out = *value;
        return true;
    }
    failure.fail(concat({"\"", name, "\" is not one of ", caseList<E>()}));
    return false;
}

template <Record T>
bool decodeValue(simdjson::dom::element element, T& out, DecodeFailure& failure);

template <class T>
bool decodeValue(simdjson::dom::element element, std::vector<T>& out, DecodeFailure& failure) {
    simdjson::dom::array array;
    if (element.get_array().get(array)) {
        return mismatch(element, "an array", failure);
    }
    out.clear();
    out.reserve(array.size());
    std::size_t index = 0;
    for (simdjson::dom::element item : array) {
        if (!decodeValue(item, out.emplace_back(), failure)) {
            failure.atIndex(index);
            return false;
        }
        ++index;
    }
    return true;
}

// One key of a record: decode a present value under its presence rule.
template <class R, class M>
bool decodeKey(const RequiredKey<R, M>& key, simdjson::dom::element value, R& out,
               DecodeFailure& failure) {
    if (value.is_null()) {
        failure.fail("required value is null");
        return false;
    }
    return decodeValue(value, out.*key.member, failure);
}

template <class R, class M>
bool decodeKey(const OptionalKey<R, M>& key, simdjson::dom::element value, R& out,
               DecodeFailure& failure) {
    if (value.is_null()) {
        (out.*key.member).reset();
        return true;
    }
    if constexpr (std::is_same_v<M, std::string>) {
        // Built from the text in place rather than assigned into an empty one.
        std::string_view text;
        if (!decodeText(value, text, failure)) {
            return false;
        }
        (out.*key.member).emplace(text);
        return true;
    } else {
        return decodeValue(value, (out.*key.member).emplace(), failure);
    }
}

template <class R, class M>
bool decodeKey(const DefaultedKey<R, M>& key, simdjson::dom::element value, R& out,
               DecodeFailure& failure) {
    if (value.is_null()) {
        out.*key.member = key.fallback;
        return true;
    }
    return decodeValue(value, out.*key.member, failure);
}

// A key that did not occur in the object.
template <class R, class M>
bool decodeMissing(const RequiredKey<R, M>&, R&, DecodeFailure& failure) {
    failure.fail("required key is missing");
    return false;
}

template <class R, class M>
bool decodeMissing(const OptionalKey<R, M>& key, R& out, DecodeFailure&) {
    (out.*key.member).reset();
    return true;
}

template <class R, class M>
bool decodeMissing(const DefaultedKey<R, M>& key, R& out, DecodeFailure&) {
    out.*key.member = key.fallback;
    return true;
}

// The keys of a record's schema, in schema order. (A function-local static:
// it is ready whenever the first decode runs.)
template <Record T>
const auto& keyNamesOf() {
    static const auto names = std::apply(
        [](const auto&... keys) {
            return std::array<std::string_view, sizeof...(keys)>{keys.key...};
        },
        jsonSchema(std::type_identity<T>{}));
    return names;
}

// Keys are short: comparing them with a few overlapping word loads beats a
// call to memcmp.
inline bool sameKey(std::string_view a, std::string_view b) {
    const std::size_t size = a.size();
    if (size != b.size()) {
        return false;
    }
    const char* p = a.data();
    const char* q = b.data();
    const auto same = [&]<class Word>(std::size_t at, Word) {
        Word x;
        Word y;
        std::memcpy(&x, p + at, sizeof x);
        std::memcpy(&y, q + at, sizeof y);
        return x == y;
    };
    if (size >= 8) {
        for (std::size_t at = 0; at + 8 < size; at += 8) {
            if (!same(at, std::uint64_t{})) {
                return false;
            }
        }
        return same(size - 8, std::uint64_t{});
    }
    if (size >= 4) {
        return same(0, std::uint32_t{}) && same(size - 4, std::uint32_t{});
    }
    if (size >= 2) {
        return same(0, std::uint16_t{}) && same(size - 2, std::uint16_t{});
    }
    return size == 0 || *p == *q;
}

// The position of `name` among `names`, or names.size() for an unknown key.
// Objects usually list their keys in schema order, some of them left out, so
// the search starts after the previous match and wraps around.
template <std::size_t N>
std::size_t findKey(const std::array<std::string_view, N>& names, std::string_view name,
                    std::size_t hint) {
    for (std::size_t index = hint; index < N; ++index) {
        if (sameKey(names[index], name)) {
            return index;
        }
    }
    for (std::size_t index = 0; index < hint && index < N; ++index) {
        if (sameKey(names[index], name)) {
            return index;
        }
    }
    return N;
}

template <Record T>
bool decodeValue(simdjson::dom::element element, T& out, DecodeFailure& failure) {
    simdjson::dom::object object;
    if (element.get_object().get(object)) {
        return mismatch(element, "an object", failure);
    }
    const auto& keys = schemaOf<T>;
    const auto& names = keyNamesOf<T>();
    constexpr std::size_t count = std::tuple_size_v<std::decay_t<decltype(keys)>>;
    static_assert(count <= 64, "a record has at most 64 keys");
    std::uint64_t seen = 0;
    std::size_t hint = 0;

    for (const auto member : object) {
        // Named copies, not a structured binding: clang 14 cannot capture
        // one in the lambda below.
        const std::string_view name = member.key;
        const simdjson::dom::element value = member.value;
        const std::size_t index = findKey(names, name, hint);
        if (index == count) {
            continue; // unknown keys are ignored
        }
        hint = index + 1;
        seen |= std::uint64_t{1} << index;
        bool ok = true;
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (void)((index == I ? (ok = decodeKey(std::get<I>(keys), value, out, failure), true)
                               : false) ||
                   ...);
        }
        (std::make_index_sequence<count>{});
        if (!ok) {
            failure.atKey(name);
            return false;
        }
    }

    if (seen == (count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1)) {
        return true;
    }
    bool ok = true;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (void)(((seen & (std::uint64_t{1} << I)) ||
                (decodeMissing(std::get<I>(keys), out, failure) ||
                 (failure.atKey(std::get<I>(keys).key), ok = false, false))) &&
               ...);
    }
    (std::make_index_sequence<count>{});
    return ok;
}

} // namespace OrvelKit::Json::detail
