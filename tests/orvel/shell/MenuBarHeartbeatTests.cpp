// The heartbeat's timing and frame geometry.

#include "orvel/shell/MenuBarHeartbeat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace Orvel::MenuBarHeartbeat;

TEST(MenuBarHeartbeat, ThirtySixFramesABeatOfTwoPointFourSecondsForTwentyFiveSeconds) {
    const std::pair<double, std::optional<int>> cases[] = {
        {0, 0},
        {0.066, 0},
        {0.067, 1},
        {1.2, 18},
        {2.39, 35},
        {2.4, 0},
        {2.4 * 10 + 0.6, 9},
        {24.999, 14}, // 11th beat
        {25.0, {}},
        {600.0, {}},
        {-0.001, {}},
        {std::numeric_limits<double>::quiet_NaN(), {}}};
    for (const auto& [seconds, frame] : cases) {
        EXPECT_EQ(frameIndex(seconds), frame) << seconds << " s";
    }
    for (double t = 0; t < durationSeconds; t += 0.013) {
        const auto frame = frameIndex(t);
        ASSERT_TRUE(frame && *frame >= 0 && *frame < frameCount) << t;
    }
}

TEST(MenuBarHeartbeat, GeometryPulsesOutThenBack) {
    const auto start = geometry(0);
    const auto peak = geometry(0.45);
    const auto late = geometry(progress(30));
    EXPECT_EQ(start.echoOpacity, 0); // not drawn
    EXPECT_GT(geometry(0.15).echoOpacity, peak.echoOpacity) << "the echo is brightest at 0.15";
    EXPECT_EQ(late.echoOpacity, 0) << "no echo from 0.75 on";
    EXPECT_GT(peak.ringRadius, start.ringRadius);
    EXPECT_GT(peak.dotRadius, start.dotRadius);
    EXPECT_GT(peak.ringOpacity, late.ringOpacity);
    EXPECT_GT(late.ringOpacity, start.ringOpacity);
    EXPECT_NEAR(progress(18), 0.5, 1e-12);
}

} // namespace
