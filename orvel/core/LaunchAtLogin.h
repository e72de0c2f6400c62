#pragma once

// Whether the app starts when the user logs in.

namespace Orvel {

class LaunchAtLogin {
public:
    virtual ~LaunchAtLogin() = default;

    // The state as the system has it now.
    virtual bool isEnabled() const = 0;

    // Switches it on or off; returns the resulting state as read back (a
    // failure to switch shows as the unchanged state).
    virtual bool setEnabled(bool enabled) = 0;
};

} // namespace Orvel
