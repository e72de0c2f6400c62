#pragma once

// Typed user preferences: a few values under string keys.
//
// A value has one of five types. Reading a key through the typed accessor of
// another type gives nothing, as if it were absent (an integer is also read
// as a double; nothing else converts).

#include "orvelkit/time/Date.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace Orvel {

using PreferenceValue =
    std::variant<bool, OrvelKit::Date, std::vector<std::string>, double, std::int64_t>;

class Preferences {
public:
    virtual ~Preferences() = default;

    virtual std::optional<PreferenceValue> value(std::string_view key) const = 0;
    virtual void set(std::string_view key, PreferenceValue value) = 0;
    virtual void remove(std::string_view key) = 0;

    std::optional<bool> boolValue(std::string_view key) const;
    std::optional<OrvelKit::Date> dateValue(std::string_view key) const;
    std::optional<std::vector<std::string>> stringArray(std::string_view key) const;
    std::optional<double> doubleValue(std::string_view key) const;
    std::optional<std::int64_t> integerValue(std::string_view key) const;
};

} // namespace Orvel
