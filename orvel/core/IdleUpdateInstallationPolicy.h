#pragma once

// When a downloaded update may install itself: the user has not touched
// keyboard or pointer for a minute and no window of the app is showing.

#include <chrono>
#include <optional>

namespace Orvel::IdleUpdateInstallationPolicy {

inline constexpr std::chrono::seconds idleThreshold{60};
inline constexpr std::chrono::seconds checkInterval{15};

// An unknown idle time never counts as idle.
constexpr bool isIdle(std::optional<double> secondsSinceLastInput) {
    return secondsSinceLastInput &&
           *secondsSinceLastInput >= static_cast<double>(idleThreshold.count());
}

} // namespace Orvel::IdleUpdateInstallationPolicy
