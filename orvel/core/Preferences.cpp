#include "orvel/core/Preferences.h"

namespace Orvel {

namespace {

template <class T>
std::optional<T> typed(const Preferences& preferences, std::string_view key) {
    auto stored = preferences.value(key);
    if (!stored) {
        return std::nullopt;
    }
    if (auto* value = std::get_if<T>(&*stored)) {
        return std::move(*value);
    }
    return std::nullopt;
}

} // namespace

std::optional<bool> Preferences::boolValue(std::string_view key) const {
    return typed<bool>(*this, key);
}

std::optional<OrvelKit::Date> Preferences::dateValue(std::string_view key) const {
    return typed<OrvelKit::Date>(*this, key);
}

std::optional<std::vector<std::string>> Preferences::stringArray(std::string_view key) const {
    return typed<std::vector<std::string>>(*this, key);
}

std::optional<double> Preferences::doubleValue(std::string_view key) const {
    auto stored = value(key);
    if (!stored) {
        return std::nullopt;
    }
    if (auto* number = std::get_if<double>(&*stored)) {
        return *number;
    }
    if (auto* integer = std::get_if<std::int64_t>(&*stored)) {
        return static_cast<double>(*integer);
    }
    return std::nullopt;
}

std::optional<std::int64_t> Preferences::integerValue(std::string_view key) const {
    return typed<std::int64_t>(*this, key);
}

} // namespace Orvel
