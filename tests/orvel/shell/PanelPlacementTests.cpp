// Where the panel opens relative to the tray icon and the screen.

#include "orvel/shell/PanelPlacement.h"

#include <gtest/gtest.h>

namespace {

using Orvel::ScreenPoint;
using Orvel::ScreenRect;

TEST(PanelPlacement, CentredOnTheIconFourPointsAwayAndEightFromTheEdges) {
    // A 1920 × 1080 screen with a 32-point bar at the top; a 420 × 640 panel.
    const ScreenRect desktop{0, 32, 1920, 1048};
    const struct {
        const char* what;
        std::optional<ScreenRect> icon;
        ScreenRect area;
        double width, height;
        ScreenPoint origin;
    } cases[] = {
        {"icon in the bar above the area",
         ScreenRect{1000, 4, 24, 24},
         desktop,
         420,
         640,
         {802, 40}},
        {"far right", ScreenRect{1890, 4, 24, 24}, desktop, 420, 640, {1492, 40}},
        {"far left", ScreenRect{2, 4, 24, 24}, desktop, 420, 640, {8, 40}},
        {"narrow screen", ScreenRect{370, 0, 24, 24}, {0, 0, 400, 800}, 420, 640, {-28, 28}},
        {"bar at the bottom",
         ScreenRect{1800, 1048, 24, 24},
         {0, 0, 1920, 1040},
         420,
         640,
         {1492, 392}},
        {"no icon geometry", std::nullopt, desktop, 420, 640, {1492, 40}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Orvel::PanelPlacement::origin(c.icon, c.area, c.width, c.height), c.origin)
            << c.what;
    }
}

} // namespace
