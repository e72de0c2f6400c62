#include "orvel/core/PopoverWindowSizing.h"

#include <gtest/gtest.h>

#include <limits>

namespace Orvel {
namespace {

using PopoverWindowSizing::restoredSize;

TEST(PopoverWindowSizing, RestoresOnlyUsableSizesOfTheCurrentVersion) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double width, height;
        std::int64_t version;
        WindowSize expected;
    };
    const Case cases[] = {
        {500, 700, 2, {500, 700}},
        {200, 300, 2, {360, 420}},
        // Another version's size is not used at all.
        {500, 700, 0, {420, 640}},
        {500, 700, 3, {420, 640}},
        // An unusable dimension is replaced on its own.
        {0, 700, 2, {420, 700}},
        {nan, 700, 2, {420, 700}},
        {500, inf, 2, {500, 640}},
        {500, -500, 2, {500, 640}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(restoredSize(c.width, c.height, c.version), c.expected)
            << c.width << " x " << c.height << " v" << c.version;
    }
}

} // namespace
} // namespace Orvel
