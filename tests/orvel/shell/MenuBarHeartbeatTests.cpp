// The heartbeat's timing.

#include "orvel/shell/MenuBarHeartbeat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace Orvel::MenuBarHeartbeat;

TEST(MenuBarHeartbeat, FramesRepeatEachBeatAndStopAfterTheDuration) {
    const std::pair<double, std::optional<int>> cases[] = {
        {0, 0},
        {1.2, 18},
        {2.4, 0},
        {24.999, 14},
        {25.0, {}},
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

} // namespace
