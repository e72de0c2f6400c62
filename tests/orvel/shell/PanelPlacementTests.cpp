// Where the panel opens relative to the tray icon and the screen.

#include "orvel/shell/PanelPlacement.h"

#include <gtest/gtest.h>

namespace {

using Orvel::ScreenPoint;
using Orvel::ScreenRect;
using Orvel::PanelPlacement::origin;

// A 1920 × 1080 screen with a 32-point bar at the top.
constexpr ScreenRect desktop{0, 32, 1920, 1048};

TEST(PanelPlacement, CentredUnderTheIconFourPointsBelow) {
    // An icon in the bar above the area: 8 points into the area.
    const ScreenRect icon{1000, 4, 24, 24};
    EXPECT_EQ(origin(icon, desktop, 420, 640), (ScreenPoint{1012 - 210, 40}));
    // An icon lower in the bar: 4 points below its bottom edge.
    EXPECT_EQ(origin(ScreenRect{1000, 40, 24, 24}, desktop, 420, 640), (ScreenPoint{802, 68}));
}

TEST(PanelPlacement, FarRightKeepsEightPointsFromTheRightEdge) {
    const ScreenRect icon{1890, 4, 24, 24};
    EXPECT_EQ(origin(icon, desktop, 420, 640), (ScreenPoint{1920 - 420 - 8, 32 + 8}));
}

TEST(PanelPlacement, FarLeftKeepsEightPointsFromTheLeftEdge) {
    EXPECT_EQ(origin(ScreenRect{2, 4, 24, 24}, desktop, 420, 640).x, 8);
}

TEST(PanelPlacement, NarrowScreenRightMarginWins) {
    const ScreenRect narrow{0, 0, 400, 800};
    const auto at = origin(ScreenRect{370, 0, 24, 24}, narrow, 420, 640);
    EXPECT_EQ(at.x, 400 - 420 - 8);
    EXPECT_EQ(at.y, 28);
}

TEST(PanelPlacement, ShortScreenTopMarginWins) {
    const ScreenRect shortScreen{0, 0, 1920, 500};
    EXPECT_EQ(origin(ScreenRect{1000, 0, 24, 24}, shortScreen, 420, 640).y, 8);
}

TEST(PanelPlacement, IconAtTheBottomOpensAbove) {
    // A bar at the bottom: the available area ends above it.
    const ScreenRect area{0, 0, 1920, 1040};
    const ScreenRect icon{1800, 1048, 24, 24};
    EXPECT_EQ(origin(icon, area, 420, 640), (ScreenPoint{1920 - 420 - 8, 1040 - 640 - 8}));
}

TEST(PanelPlacement, WithoutIconGeometryTopRightOfTheArea) {
    EXPECT_EQ(origin(std::nullopt, desktop, 420, 640), (ScreenPoint{1492, 40}));
    // A second screen to the right of the first.
    EXPECT_EQ(origin(std::nullopt, ScreenRect{1920, 0, 1280, 1024}, 360, 420),
              (ScreenPoint{1920 + 1280 - 360 - 8, 8}));
}

} // namespace
