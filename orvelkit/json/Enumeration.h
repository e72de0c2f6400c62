#pragma once

// Enumerations that travel as JSON strings. Each enumeration lists its cases
// once, in declaration order, with their texts:
//
//   template <> struct EnumTraits<Urgency> {
//       static constexpr std::array cases{std::pair{Urgency::low, std::string_view("low")}, ...};
//   };
//
// text(), fromText() and allCases() follow from that list.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace OrvelKit::Json {

template <class E>
struct EnumTraits;

template <class E>
concept Enumeration = std::is_enum_v<E> && requires {
    EnumTraits<E>::cases;
};

// The text of a case.
template <Enumeration E>
constexpr std::string_view text(E value) {
    for (const auto& [candidate, name] : EnumTraits<E>::cases) {
        if (candidate == value) {
            return name;
        }
    }
    return {};
}

// The case with that text, or nothing for a text outside the list.
template <Enumeration E>
constexpr std::optional<E> fromText(std::string_view name) {
    for (const auto& [candidate, candidateName] : EnumTraits<E>::cases) {
        if (candidateName == name) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Every case, in declaration order.
template <Enumeration E>
constexpr auto allCases() {
    constexpr auto& cases = EnumTraits<E>::cases;
    std::array<E, cases.size()> values{};
    std::transform(cases.begin(), cases.end(), values.begin(),
                   [](const auto& entry) { return entry.first; });
    return values;
}

// "low, normal, high, critical": for error messages.
template <Enumeration E>
std::string caseList() {
    std::string list;
    for (const auto& [candidate, name] : EnumTraits<E>::cases) {
        if (!list.empty()) {
            list += ", ";
        }
        list += name;
    }
    return list;
}

} // namespace OrvelKit::Json
