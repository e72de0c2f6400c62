#pragma once

// The size of the inbox panel: restored from the preferences when the panel
// is created, saved there at the end of a live resize.

#include "orvel/core/Preferences.h"

#include <cstdint>
#include <string_view>

namespace Orvel {

struct WindowSize {
    double width = 0;
    double height = 0;

    bool operator==(const WindowSize&) const = default;
};

namespace PopoverWindowSizing {

inline constexpr std::string_view widthKey = "popoverWindowWidth";
inline constexpr std::string_view heightKey = "popoverWindowHeight";
inline constexpr std::string_view versionKey = "popoverWindowSizeVersion";

// The format of the two stored numbers; sizes stored under another version
// are not used.
inline constexpr std::int64_t currentVersion = 2;

inline constexpr WindowSize defaultSize{420, 640};
// Also the panel's minimum content size.
inline constexpr WindowSize minimumSize{360, 420};

// The size to open the panel with. Under another version than the current
// one, the default size. Otherwise each dimension on its own: a finite stored
// value above zero, raised to the minimum; anything else (missing, zero,
// negative, infinite, not a number) gives that dimension's default.
WindowSize restoredSize(double width, double height, std::int64_t version);

// The same from the stored keys (a missing key reads as 0).
WindowSize restoredSize(const Preferences& preferences);

// Stores width and height as doubles and the current version.
void saveSize(Preferences& preferences, WindowSize size);

} // namespace PopoverWindowSizing

} // namespace Orvel
