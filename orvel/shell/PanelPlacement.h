#pragma once

// Where the inbox panel opens: under the tray icon (or over it, when the
// panel of the desktop sits at the bottom of the screen), kept inside the
// screen's available area with an 8-point margin. Screen coordinates grow
// rightwards and downwards.

#include <optional>

namespace Orvel {

struct ScreenRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double left() const { return x; }
    double top() const { return y; }
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }

    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    double x = 0;
    double y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

namespace PanelPlacement {

inline constexpr double margin = 8;
// The gap between the tray icon and the panel.
inline constexpr double gap = 4;

// The panel's top-left corner for a panel of `width` × `height`.
//
// With the icon's rectangle: centred under the icon, then moved inside the
// margins (when the panel is wider than the space, the right margin wins);
// 4 points below the icon, or 4 points above it when the icon lies in the
// lower half of the area, then kept inside the vertical margins (the top one
// wins). Without it (the desktop does not tell where the icon is): the
// top-right corner of the area, inside the margins.
ScreenPoint origin(std::optional<ScreenRect> icon, ScreenRect available, double width,
                   double height);

} // namespace PanelPlacement
} // namespace Orvel
