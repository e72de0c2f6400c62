// What the header's buttons do to the model; the header of each destination
// is ModelBridge's navigation test.

#include "orvel/shell/HeaderLayout.h"
#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

namespace {

using Orvel::AppScreen;
using Orvel::HeaderAction;

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
