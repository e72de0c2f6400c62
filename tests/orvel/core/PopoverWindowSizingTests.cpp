#include "orvel/core/MemoryPreferences.h"
#include "orvel/core/PopoverWindowSizing.h"

#include <gtest/gtest.h>

#include <limits>

namespace Orvel {
namespace {

using PopoverWindowSizing::restoredSize;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(PopoverWindowSizing, RestoresAStoredSizeOfTheCurrentVersion) {
    EXPECT_EQ(restoredSize(500, 700, 2), (WindowSize{500, 700}));
    EXPECT_EQ(restoredSize(200, 300, 2), (WindowSize{360, 420}));
    EXPECT_EQ(restoredSize(360, 420, 2), (WindowSize{360, 420}));
}

TEST(PopoverWindowSizing, IgnoresSizesOfAnotherVersion) {
    for (std::int64_t version : {0, 1, 3, -2}) {
        EXPECT_EQ(restoredSize(500, 700, version), (WindowSize{420, 640})) << version;
    }
}

TEST(PopoverWindowSizing, ReplacesAnUnusableDimensionOnItsOwn) {
    EXPECT_EQ(restoredSize(0, 700, 2), (WindowSize{420, 700}));
    EXPECT_EQ(restoredSize(500, 0, 2), (WindowSize{500, 640}));
    for (double bad : {nan, inf, -inf, -500.0}) {
        EXPECT_EQ(restoredSize(bad, 700, 2), (WindowSize{420, 700})) << bad;
        EXPECT_EQ(restoredSize(500, bad, 2), (WindowSize{500, 640})) << bad;
    }
}

TEST(PopoverWindowSizing, SavesAndRestoresThroughThePreferences) {
    MemoryPreferences preferences;
    EXPECT_EQ(restoredSize(preferences), (WindowSize{420, 640}));

    PopoverWindowSizing::saveSize(preferences, {512, 700});
    EXPECT_EQ(preferences.value("popoverWindowWidth"), PreferenceValue(512.0));
    EXPECT_EQ(preferences.value("popoverWindowHeight"), PreferenceValue(700.0));
    EXPECT_EQ(preferences.value("popoverWindowSizeVersion"), PreferenceValue(std::int64_t{2}));
    EXPECT_EQ(restoredSize(preferences), (WindowSize{512, 700}));

    // Integers read as doubles; a version stored as a double is no version.
    preferences.set("popoverWindowWidth", std::int64_t{600});
    EXPECT_EQ(restoredSize(preferences), (WindowSize{600, 700}));
    preferences.set("popoverWindowSizeVersion", 2.0);
    EXPECT_EQ(restoredSize(preferences), (WindowSize{420, 640}));
    preferences.set("popoverWindowSizeVersion", std::int64_t{2});
    preferences.remove("popoverWindowHeight");
    EXPECT_EQ(restoredSize(preferences), (WindowSize{600, 640}));
}

} // namespace
} // namespace Orvel
