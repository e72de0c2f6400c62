#pragma once

#include "orvel/core/LaunchAtLogin.h"

namespace Orvel {

// Launch at login held in memory, for tests and previews. An unavailable one
// behaves like a build that cannot register itself: always off.
class MemoryLaunchAtLogin final : public LaunchAtLogin {
public:
    explicit MemoryLaunchAtLogin(bool enabled = false, bool available = true)
        : enabled_(available && enabled), available_(available) {}

    bool isEnabled() const override { return enabled_; }
    bool setEnabled(bool enabled) override {
        ++changeRequests_;
        if (available_) {
            enabled_ = enabled;
        }
        return enabled_;
    }

    int changeRequests() const { return changeRequests_; }

private:
    bool enabled_;
    bool available_;
    int changeRequests_ = 0;
};

} // namespace Orvel
