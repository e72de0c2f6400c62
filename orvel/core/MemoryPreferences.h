#pragma once

#include "orvel/core/Preferences.h"

#include <map>

namespace Orvel {

// Preferences held in memory only, for tests and previews.
class MemoryPreferences final : public Preferences {
public:
    std::optional<PreferenceValue> value(std::string_view key) const override;
    void set(std::string_view key, PreferenceValue value) override;
    void remove(std::string_view key) override;

private:
    std::map<std::string, PreferenceValue, std::less<>> values_;
};

} // namespace Orvel
