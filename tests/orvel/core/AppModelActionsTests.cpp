// Failed actions, preferences read from the store and the values derived
// from the model.

#include "orvel/core/MemoryLaunchAtLogin.h"
#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

using namespace OrvelTest;

TEST(AppModelActions, FailedActionsReportTheirOwnPrefixAndChangeNothing) {
    ModelHarness h;
    auto& model = h.synced({channelSync("a", {notification("a", 1)})}, {"a"});
    h.service->answer("engage", OrvelProtocol::Engagement{"old", {}, "s", "t"});
    h.run(model.createEngagement());
    const auto configBefore = model.config();
    const auto inboxBefore = model.inbox();
    const auto engagementBefore = model.engagement();

    // Each action, and whether it reported success.
    using Action = std::function<bool()>;
    const std::vector<std::tuple<const char*, const char*, Action>> actions = {
        {"engage", "Couldn't create channel: ",
         [&] {
             h.run(model.createEngagement());
             return model.engagement() != engagementBefore;
         }},
        {"pair/code", "Couldn't create a pairing code: ",
         [&] { return h.run(model.makePairingCode()).has_value(); }},
        {"channels/rename", "Couldn't update that channel's display name: ",
         [&] { return h.run(model.renameChannel("a", "New name")); }},
        {"keys/rotate", "Couldn't rotate that channel key: ",
         [&] { return h.run(model.rotateKey("a", 24)).has_value(); }},
        {"channels/retire",
         "Couldn't retire that channel: ", [&] { return h.run(model.retireChannel("a")); }},
    };
    for (const auto& [endpoint, prefix, action] : actions) {
        SCOPED_TRACE(endpoint);
        h.service->fail(endpoint, 403);
        EXPECT_FALSE(action());
        EXPECT_EQ(model.lastError(), std::string(prefix) + "http(status: 403)");
        EXPECT_EQ(model.config().channels, configBefore.channels);
        EXPECT_EQ(h.configStore->load().value().channels, configBefore.channels);
        EXPECT_EQ(model.inbox(), inboxBefore);
    }
}

TEST(AppModelPreferences, StoredValuesOfTheWrongTypeReadAsDefaults) {
    ModelHarness h;
    h.preferences->set("onlyInterrupt", std::vector<std::string>{"yes"});
    h.preferences->set("pinnedCardIds", 3.5);
    auto& model = h.build();
    EXPECT_TRUE(model.onlyInterrupt());
    EXPECT_TRUE(model.pinnedCardIds().empty());
    for (const auto* id : {"zeta", "alpha", "mid", "zeta"}) {
        model.toggleCardPinned(id);
    }
    EXPECT_EQ(h.preferences->stringArray("pinnedCardIds"),
              (std::vector<std::string>{"alpha", "mid"}));
}

TEST(AppModelPreferences, LaunchAtLoginIsWhatTheSystemReportsAtOnceAndAfterARestart) {
    for (const bool available : {true, false}) {
        SCOPED_TRACE(available ? "the desktop can start the app" : "it cannot");
        ModelHarness h;
        h.launchAtLogin = std::make_shared<Orvel::MemoryLaunchAtLogin>(false, available);
        auto& model = h.build();
        model.setLaunchAtLogin(true);
        EXPECT_EQ(model.launchAtLogin(), available);
        EXPECT_EQ(h.build().launchAtLogin(), available) << "a new start reads it back";
    }
}

TEST(AppModelDerived, DevelopmentDataStandsInOnlyForAnEmptyRealInbox) {
    ModelHarness h;
    h.preferences->set("useDevelopmentData", true);
    auto& model = h.synced({channelSync("quiet")});
    EXPECT_TRUE(model.isShowingDevelopmentData()) << "a channel without updates is still empty";
    EXPECT_TRUE(model.note("s3"));
    EXPECT_FALSE(model.smartBriefing().attention.empty());
    ASSERT_EQ(model.persistentCards().size(), 1u) << "the sample card";

    model.markAllRead();
    EXPECT_EQ(model.sourceInbox().totalUnread(), 0u);
    const auto sample = model.note("s3");
    model.dismiss("s3");
    h.executor.runUntilIdle();
    EXPECT_TRUE(model.sourceInbox().channel(sample->channel)->isDismissed(sample->seq));
    EXPECT_TRUE(h.service->requestsTo("read").empty()) << "sample data is never sent";
    EXPECT_TRUE(h.service->requestsTo("dismiss").empty()) << "sample data is never sent";

    h.syncAnswers({channelSync("quiet", {notification("quiet", 1)})});
    h.run(model.refresh());
    EXPECT_FALSE(model.isShowingDevelopmentData());
    EXPECT_FALSE(model.note("s3"));
    EXPECT_TRUE(model.note("quiet-1"));
}

} // namespace
