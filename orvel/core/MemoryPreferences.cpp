#include "orvel/core/MemoryPreferences.h"

namespace Orvel {

std::optional<PreferenceValue> MemoryPreferences::value(std::string_view key) const {
    auto found = values_.find(key);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void MemoryPreferences::set(std::string_view key, PreferenceValue value) {
    auto found = values_.find(key);
    if (found == values_.end()) {
        values_.emplace(std::string(key), std::move(value));
    } else {
        found->second = std::move(value);
    }
}

void MemoryPreferences::remove(std::string_view key) {
    auto found = values_.find(key);
    if (found != values_.end()) {
        values_.erase(found);
    }
}

} // namespace Orvel
