// The palette and the update feed.

#include "orvel/shell/ThemePalette.h"
#include "orvel/shell/UpdateFeed.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace Orvel;

TEST(ThemePalette, StatusesTellApartAndTextReadsOnBothAppearances) {
    using OrvelKit::StatusDot;
    const std::set<ThemeColor> statusColors{
        ThemePalette::statusColor(StatusDot::need), ThemePalette::statusColor(StatusDot::done),
        ThemePalette::statusColor(StatusDot::failed), ThemePalette::statusColor(StatusDot::info)};
    EXPECT_EQ(statusColors.size(), 4u);
    const auto luminance = [](Rgba c) {
        return 0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue;
    };
    EXPECT_LT(luminance(ThemePalette::color(ThemeColor::text, Appearance::light)), 0.2);
    EXPECT_GT(luminance(ThemePalette::color(ThemeColor::text, Appearance::dark)), 0.8);
    EXPECT_EQ(ThemePalette::appearanceFor(0.1, 0.9), Appearance::dark);
    EXPECT_EQ(ThemePalette::appearanceFor(0.95, 0.1), Appearance::light);
}

TEST(UpdateFeed, ParsesAFeedRefusesOtherDocumentsAndComparesVersionsNumerically) {
    const auto entry =
        UpdateFeed::parse(R"({"version":"0.3.0","url":"https://example.org/r/0.3.0"})");
    ASSERT_TRUE(entry) << entry.error();
    EXPECT_EQ(entry->version, "0.3.0");
    EXPECT_FALSE(entry->notes);
    for (const char* refused :
         {R"({"version":"0.3.0"})", "not json", R"({"version":"soon","url":"https://example.org"})",
          R"({"version":"1.0","url":"file:///tmp/x"})"}) {
        EXPECT_FALSE(UpdateFeed::parse(refused)) << refused;
    }

    EXPECT_TRUE(UpdateFeed::isNewer("0.1.10", "0.1.9"));
    EXPECT_TRUE(UpdateFeed::isNewer("v1.0", "0.9.9"));
    const std::pair<const char*, const char*> notNewer[] = {
        {"1.0.0", "1.0"}, {"0.0.9", "0.1.0"}, {"1.0-beta", "0.1"}, {"9999999999.0", "0.1"}};
    for (const auto& [candidate, current] : notNewer) {
        EXPECT_FALSE(UpdateFeed::isNewer(candidate, current)) << candidate << " vs " << current;
    }
}

} // namespace
