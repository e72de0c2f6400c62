#pragma once

// The fifteen colours every screen draws with, each a pair for the light and
// the dark appearance, and which colour shows which status.

#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/presentation/StatusDot.h"

#include <array>
#include <string_view>

namespace Orvel {

enum class ThemeColor {
    text,
    muted,
    faint,
    separator,
    gold,
    green,
    red,
    blue,
    panelTint,
    panelBorder,
    edge,
    control,
    controlStrong,
    controlBorder,
    selection,
};

enum class Appearance { light, dark };

// sRGB components in [0, 1].
struct Rgba {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    bool operator==(const Rgba&) const = default;
};

namespace ThemePalette {

inline constexpr std::size_t colorCount = 15;

Rgba color(ThemeColor color, Appearance appearance);

// The colour's name as the views use it ("panelTint").
std::string_view name(ThemeColor color);

std::array<ThemeColor, colorCount> allColors();

// need and running gold, done green, failed red, info blue, idle faint.
ThemeColor statusColor(OrvelKit::StatusDot dot);

struct ActivityStyle {
    ThemeColor color;
    std::string_view label;
};

// pending gold "Pending", active green "Active", quiet blue "Quiet",
// idle faint "Idle".
ActivityStyle activityStyle(OrvelKit::ChannelActivity activity);

// Dark when the window background is darker than its text.
Appearance appearanceFor(double windowLightness, double textLightness);

} // namespace ThemePalette
} // namespace Orvel
