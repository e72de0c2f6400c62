// The header of each destination and what its buttons do to the model.

#include "orvel/shell/HeaderLayout.h"
#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

namespace {

using Orvel::AppScreen;
using Orvel::HeaderAction;
using Orvel::headerLayout;

std::vector<HeaderAction> actions(const Orvel::HeaderLayout& layout) {
    std::vector<HeaderAction> result;
    for (const auto& button : layout.trailing) {
        result.push_back(button.action);
    }
    return result;
}

TEST(HeaderLayout, PushedScreensShowBackAndTheirTitle) {
    const std::vector<std::pair<AppScreen, std::optional<std::string>>> cases = {
        {AppScreen::card("c"), "Card"},
        {AppScreen::updates(), "Updates"},
        {AppScreen::detail("u"), std::nullopt},
    };
    for (const auto& [screen, title] : cases) {
        SCOPED_TRACE(Orvel::screenName(screen.kind));
        const auto layout = headerLayout({AppScreen::updates(), screen}, true, 5);
        ASSERT_TRUE(layout.back);
        EXPECT_EQ(layout.back->label, "Back");
        EXPECT_EQ(layout.title, title);
        EXPECT_EQ(layout.showsBrandMark, !title);
        // The brand mark of a pushed screen never shows the attention dot.
        EXPECT_FALSE(layout.brandNeedsYou);
        const auto expected = screen.kind == AppScreen::Kind::updates
                                  ? std::vector{HeaderAction::markAllRead}
                                  : std::vector<HeaderAction>{};
        EXPECT_EQ(actions(layout), expected);
    }
}

TEST(HeaderActions, BackForgetsTheEngagementOnlyWhenLeavingNewChannel) {
    OrvelTest::ModelHarness h;
    h.paired();
    h.service->answer("engage", OrvelProtocol::Engagement{"ch-1", "k1", "agent", "pub-token"});
    auto& model = h.build();
    Orvel::performHeaderAction(model, HeaderAction::newChannel);
    EXPECT_EQ(model.current(), AppScreen::engage());
    h.run(model.createEngagement());
    ASSERT_TRUE(model.engagement());

    Orvel::performHeaderAction(model, HeaderAction::settings);
    Orvel::performHeaderAction(model, HeaderAction::back);
    EXPECT_EQ(model.current(), AppScreen::engage());
    EXPECT_TRUE(model.engagement()) << "back from elsewhere keeps it";

    Orvel::performHeaderAction(model, HeaderAction::back);
    EXPECT_TRUE(model.path().empty());
    EXPECT_FALSE(model.engagement());
    Orvel::performHeaderAction(model, HeaderAction::back);
    EXPECT_TRUE(model.path().empty());
}

} // namespace
