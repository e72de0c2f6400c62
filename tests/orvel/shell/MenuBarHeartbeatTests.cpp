// The heartbeat's timing and frame geometry.

#include "orvel/shell/MenuBarHeartbeat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace Orvel::MenuBarHeartbeat;

TEST(MenuBarHeartbeat, FrameIndexFollowsTheBeatAndEndsAtTwentyFiveSeconds) {
    EXPECT_EQ(frameIndex(0), 0);
    // 36 frames a beat of 2.4 s: one frame every 1/15 s.
    EXPECT_EQ(frameIndex(0.066), 0);
    EXPECT_EQ(frameIndex(0.067), 1);
    EXPECT_EQ(frameIndex(1.2), 18);
    EXPECT_EQ(frameIndex(2.39), 35);
    // The next beat starts over.
    EXPECT_EQ(frameIndex(2.4), 0);
    EXPECT_EQ(frameIndex(2.4 * 10 + 0.6), 9);
    EXPECT_EQ(frameIndex(24.999), 14); // 0.999 s into the eleventh beat
    EXPECT_EQ(frameIndex(25.0), std::nullopt);
    EXPECT_EQ(frameIndex(600.0), std::nullopt);
    EXPECT_EQ(frameIndex(-0.001), std::nullopt);
    EXPECT_EQ(frameIndex(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(MenuBarHeartbeat, EveryFrameIndexIsInRange) {
    for (double t = 0; t < durationSeconds; t += 0.013) {
        const auto frame = frameIndex(t);
        ASSERT_TRUE(frame) << t;
        EXPECT_GE(*frame, 0);
        EXPECT_LT(*frame, frameCount);
    }
}

TEST(MenuBarHeartbeat, GeometryPulsesOutThenBack) {
    const auto start = geometry(0);
    EXPECT_EQ(start.echoOpacity, 0); // not drawn
    EXPECT_NEAR(start.echoRadius, 0.62 * 6.4, 1e-9);
    EXPECT_NEAR(start.ringOpacity, 0.48, 1e-9);
    EXPECT_NEAR(start.ringRadius, 0.96 * 6.1, 1e-9);
    EXPECT_NEAR(start.dotRadius, 0.94 * 2.65, 1e-9);

    // The echo is brightest at 0.15 and the pulse peaks at 0.45.
    EXPECT_NEAR(geometry(0.15).echoOpacity, 0.2, 1e-9);
    const auto peak = geometry(0.45);
    EXPECT_NEAR(peak.ringOpacity, 0.78, 1e-9);
    EXPECT_NEAR(peak.ringRadius, 1.035 * 6.1, 1e-9);
    EXPECT_NEAR(peak.dotRadius, 1.06 * 2.65, 1e-9);
    EXPECT_NEAR(peak.echoOpacity, 0.2 - 0.3 / 0.6 * 0.2, 1e-9);

    // From 0.75 on there is no echo; the pulse falls back towards rest.
    const auto late = geometry(progress(30));
    EXPECT_EQ(late.echoOpacity, 0);
    EXPECT_LT(late.ringOpacity, peak.ringOpacity);
    EXPECT_GT(late.ringOpacity, start.ringOpacity);
    EXPECT_NEAR(progress(18), 0.5, 1e-12);
}

} // namespace
