// The palette, the symbol table and the update feed.

#include "orvel/shell/Symbols.h"
#include "orvel/shell/ThemePalette.h"
#include "orvel/shell/UpdateFeed.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace Orvel;

TEST(ThemePalette, FifteenDistinctNamedColoursWithLightAndDarkValues) {
    std::set<std::string_view> names;
    for (const auto color : ThemePalette::allColors()) {
        names.insert(ThemePalette::name(color));
        const auto light = ThemePalette::color(color, Appearance::light);
        const auto dark = ThemePalette::color(color, Appearance::dark);
        EXPECT_NE(light, dark) << ThemePalette::name(color);
        for (const auto& value : {light, dark}) {
            for (const double component : {value.red, value.green, value.blue, value.alpha}) {
                EXPECT_GE(component, 0);
                EXPECT_LE(component, 1);
            }
        }
    }
    EXPECT_EQ(names.size(), 15u);
    EXPECT_FALSE(names.contains(""));

    const auto text = ThemePalette::color(ThemeColor::text, Appearance::light);
    EXPECT_NEAR(text.red, 0x1C / 255.0, 1e-9);
    EXPECT_EQ(text.alpha, 1);
    const auto muted = ThemePalette::color(ThemeColor::muted, Appearance::dark);
    EXPECT_NEAR(muted.blue, 0xF2 / 255.0, 1e-9);
    EXPECT_EQ(muted.alpha, 0.58);
    EXPECT_EQ(ThemePalette::color(ThemeColor::separator, Appearance::light), (Rgba{0, 0, 0, 0.08}));
    EXPECT_EQ(ThemePalette::color(ThemeColor::selection, Appearance::dark), (Rgba{1, 1, 1, 0.09}));
}

TEST(ThemePalette, StatusAndActivityColours) {
    using OrvelKit::StatusDot;
    EXPECT_EQ(ThemePalette::statusColor(StatusDot::need), ThemeColor::gold);
    EXPECT_EQ(ThemePalette::statusColor(StatusDot::running), ThemeColor::gold);
    EXPECT_EQ(ThemePalette::statusColor(StatusDot::done), ThemeColor::green);
    EXPECT_EQ(ThemePalette::statusColor(StatusDot::failed), ThemeColor::red);
    EXPECT_EQ(ThemePalette::statusColor(StatusDot::info), ThemeColor::blue);
    EXPECT_EQ(ThemePalette::statusColor(StatusDot::idle), ThemeColor::faint);
    using OrvelKit::ChannelActivity;
    EXPECT_EQ(ThemePalette::activityStyle(ChannelActivity::pending).label, "Pending");
    EXPECT_EQ(ThemePalette::activityStyle(ChannelActivity::active).color, ThemeColor::green);
    EXPECT_EQ(ThemePalette::activityStyle(ChannelActivity::quiet).color, ThemeColor::blue);
    EXPECT_EQ(ThemePalette::activityStyle(ChannelActivity::idle).label, "Idle");
    EXPECT_EQ(ThemePalette::appearanceFor(0.1, 0.9), Appearance::dark);
    EXPECT_EQ(ThemePalette::appearanceFor(0.95, 0.1), Appearance::light);
}

TEST(Symbols, KnownSymbolsMapToSymbolicIcons) {
    EXPECT_EQ(Symbols::adwaitaIcon("gearshape"), "emblem-system-symbolic");
    EXPECT_EQ(Symbols::adwaitaIcon("chevron.backward"), "go-previous-symbolic");
    EXPECT_EQ(Symbols::adwaitaIcon("nonexistent.symbol"), std::nullopt);
    std::set<std::string_view> seen;
    for (const auto& [symbol, icon] : Symbols::table()) {
        EXPECT_TRUE(seen.insert(symbol).second) << "duplicate " << symbol;
        EXPECT_TRUE(icon.ends_with("-symbolic")) << icon;
    }
    for (const auto* used : {"sunrise", "sparkles", "chevron.backward", "gearshape", "checkmark",
                             "ellipsis", "pin", "plus", "arrow.up.left.and.arrow.down.right"}) {
        EXPECT_TRUE(Symbols::adwaitaIcon(used)) << used;
    }
}

TEST(UpdateFeed, ParsesAFeedAndRefusesOtherDocuments) {
    const auto entry =
        UpdateFeed::parse(R"({"version":"0.3.0","url":"https://example.org/r/0.3.0"})");
    ASSERT_TRUE(entry) << entry.error();
    EXPECT_EQ(entry->version, "0.3.0");
    EXPECT_FALSE(entry->notes);
    EXPECT_FALSE(UpdateFeed::parse(R"({"version":"0.3.0"})"));
    EXPECT_FALSE(UpdateFeed::parse(R"({"version":"soon","url":"https://example.org"})"));
    EXPECT_FALSE(UpdateFeed::parse(R"({"version":"1.0","url":"file:///tmp/x"})"));
    EXPECT_FALSE(UpdateFeed::parse("not json"));
}

TEST(UpdateFeed, ComparesVersionsNumerically) {
    EXPECT_TRUE(UpdateFeed::isNewer("0.1.10", "0.1.9"));
    EXPECT_TRUE(UpdateFeed::isNewer("v1.0", "0.9.9"));
    EXPECT_FALSE(UpdateFeed::isNewer("1.0.0", "1.0"));
    EXPECT_FALSE(UpdateFeed::isNewer("0.1.0", "0.1.0"));
    EXPECT_FALSE(UpdateFeed::isNewer("0.0.9", "0.1.0"));
    EXPECT_FALSE(UpdateFeed::isNewer("1.0-beta", "0.1"));
    EXPECT_FALSE(UpdateFeed::isNewer("1..0", "0.1"));
    EXPECT_FALSE(UpdateFeed::isNewer("9999999999.0", "0.1"));
}

} // namespace
