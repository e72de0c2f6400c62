#pragma once

// Starting the app at login on desktops that follow the XDG autostart rules:
// an entry "orvel.desktop" in "$XDG_CONFIG_HOME/autostart" (by default
// "~/.config/autostart") that runs the app's executable.

#include "orvel/core/LaunchAtLogin.h"

#include <filesystem>
#include <string>

namespace Orvel {

class XdgLaunchAtLogin final : public LaunchAtLogin {
public:
    static constexpr const char* entryName = "orvel.desktop";

    // `configHome` is the user's configuration directory ($XDG_CONFIG_HOME);
    // `executable` the absolute path the entry runs. Without an executable
    // (or a directory) launch at login is always off and cannot be switched on.
    XdgLaunchAtLogin(std::filesystem::path configHome, std::string executable);

    // The directory and executable of this process: $XDG_CONFIG_HOME when it
    // is an absolute path, else "$HOME/.config"; the AppImage the process
    // runs from when there is one ($APPIMAGE), else the process's executable.
    static XdgLaunchAtLogin forCurrentProcess();

    // The configuration directory the XDG rules give for these environment
    // values (either may be null); empty when neither is usable.
    static std::filesystem::path configHome(const char* xdgConfigHome, const char* home);

    // True when the entry exists and the desktop would start it: it has a
    // "[Desktop Entry]" group whose lines are all well-formed, "Hidden" is
    // not true and "X-GNOME-Autostart-enabled" is not false.
    bool isEnabled() const override;

    // Writes the entry atomically, or removes it. Failures are not reported;
    // the result is the state as read back afterwards.
    bool setEnabled(bool enabled) override;

    const std::filesystem::path& entryFile() const { return entryFile_; }

    // The entry's text for `executable`.
    static std::string desktopEntry(const std::string& executable);

    // `argument` as one quoted argument of an Exec value, escaped as desktop
    // entries require (quoting first, then the escapes of string values, and
    // "%" doubled so that it is not a field code).
    static std::string quotedExecArgument(const std::string& argument);

private:
    std::filesystem::path entryFile_;
    std::string executable_;
};

} // namespace Orvel
