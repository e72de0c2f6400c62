// The sync loop: start-up, one refresh end to end, failures and overlapping
// refreshes.

#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace OrvelTest;
using Orvel::ModelField;
using OrvelProtocol::SyncResponse;

std::vector<std::string> endpoints(const FakeService& service) {
    std::vector<std::string> names;
    for (const auto& request : service.requests()) {
        names.push_back(FakeService::endpointOf(request.url));
    }
    return names;
}

TEST(AppModelSync, FirstLaunchRegistersTheDeviceAndSyncsAtOnceThenEveryTwentySeconds) {
    ModelHarness h;
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    auto& model = h.build();
    EXPECT_TRUE(h.service->requests().empty()) << "construction must not touch the network";

    model.start();
    h.executor.runUntilIdle();
    EXPECT_EQ(endpoints(*h.service), (std::vector<std::string>{"pair/bootstrap", "sync"}));
    EXPECT_EQ(h.configStore->load().value().deviceToken, "dev-token");
    EXPECT_EQ(h.configStore->load().value().accountId, "acct-1");
    ASSERT_NE(model.inbox().channel("a"), nullptr);
    EXPECT_EQ(h.savedInbox(), model.inbox());
    EXPECT_FALSE(model.lastError());

    h.executor.advance(std::chrono::seconds(19));
    EXPECT_EQ(h.service->requestsTo("sync").size(), 1u);
    h.executor.advance(std::chrono::seconds(1));
    h.executor.runUntilIdle();
    EXPECT_EQ(h.service->requestsTo("sync").size(), 2u);
    EXPECT_EQ(h.service->requestsTo("pair/bootstrap").size(), 1u);
}

TEST(AppModelSync, FailedRegistrationKeepsNowAndRetriesOnTheNextTick) {
    ModelHarness h;
    h.service->fail("pair/bootstrap", 503);
    auto& model = h.build();
    const auto before = model.now();
    h.clock.advance(5);
    model.start();
    h.executor.runUntilIdle();
    EXPECT_EQ(model.lastError(), "Couldn't pair device: http(status: 503)");
    EXPECT_EQ(model.now(), before);
    EXPECT_TRUE(h.service->requestsTo("sync").empty());

    h.service->answer("pair/bootstrap", OrvelProtocol::DeviceCredentials{"acct-1", "dev-token"});
    h.executor.advance(std::chrono::seconds(20));
    h.executor.runUntilIdle();
    EXPECT_EQ(h.service->requestsTo("sync").size(), 1u);
    EXPECT_FALSE(model.lastError());
}

TEST(AppModelSync, OverlappingCallersShareOneRegistrationAndItsOutcome) {
    for (const int status : {200, 503}) {
        SCOPED_TRACE(status);
        ModelHarness h;
        if (status != 200) {
            h.service->fail("pair/bootstrap", status);
        }
        auto& model = h.build();
        h.service->hold("pair/bootstrap");
        model.refreshTick();
        model.refreshTick();
        std::optional<bool> viaAction;
        OrvelKit::spawn(h.executor, model.ensureDevice(), [&](bool ok) { viaAction = ok; });
        h.executor.runUntilIdle();
        ASSERT_EQ(h.service->waiting("pair/bootstrap"), 1u);

        h.service->release("pair/bootstrap");
        h.executor.runUntilIdle();
        EXPECT_EQ(h.service->requestsTo("pair/bootstrap").size(), 1u);
        EXPECT_EQ(viaAction, status == 200);
        EXPECT_EQ(h.service->requestsTo("sync").size(), status == 200 ? 2u : 0u);
        EXPECT_EQ(h.configStore->load().value().deviceToken,
                  status == 200 ? std::optional<std::string>("dev-token") : std::nullopt);
        EXPECT_EQ(model.lastError(),
                  status == 200
                      ? std::nullopt
                      : std::optional<std::string>("Couldn't pair device: http(status: 503)"));
    }
}

TEST(AppModelSync, TheResponseIsAuthoritativeForConfiguredChannels) {
    ModelHarness h;
    h.paired();
    auto config = h.configStore->load().value();
    config.channels = {{"a", "tok-a", "2026-01-01T00:00:00Z"},
                       {"b", "tok-b", std::nullopt},
                       {"c", "tok-c", std::nullopt}};
    h.configStore->save(config);
    h.service->answer("sync", SyncResponse{{channelRecord("c"), channelRecord("a")}});
    auto& model = h.build();

    h.run(model.refresh());
    ASSERT_EQ(model.config().channels.size(), 2u);
    EXPECT_EQ(model.config().channels[0].channel, "a");
    EXPECT_EQ(model.config().channels[1].channel, "c");
    EXPECT_EQ(h.configStore->load().value(), model.config());

    h.service->answer("sync", SyncResponse{});
    h.run(model.refresh());
    EXPECT_TRUE(h.configStore->load().value().channels.empty());
}

TEST(AppModelSync, OnlyInterruptDecidesWhatIsPostedButTheHeartbeatCountsEverySync) {
    for (const bool onlyInterrupt : {true, false}) {
        SCOPED_TRACE(onlyInterrupt);
        ModelHarness h;
        h.paired();
        h.preferences->set("onlyInterrupt", onlyInterrupt);
        h.service->answer(
            "sync",
            SyncResponse{{channelRecord("a", {update("a", 1, "need"), update("a", 2, "done"),
                                              update("a", 3, std::nullopt)})}});
        auto& model = h.build();
        model.start();
        h.executor.runUntilIdle();
        EXPECT_EQ(h.notifications->shown.size(), onlyInterrupt ? 1u : 3u);
        EXPECT_EQ(h.notifications->shown.at(0).identifier, "a-1");
        EXPECT_EQ(model.newNotificationSequence(), 1);

        // The same answer again brings nothing new.
        h.run(model.refresh());
        EXPECT_EQ(model.newNotificationSequence(), 1);
        EXPECT_EQ(h.notifications->shown.size(), onlyInterrupt ? 1u : 3u);
    }
}

TEST(AppModelSync, IdleRefreshesPublishAndSaveNothing) {
    ModelHarness h;
    h.paired();
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)}, {1})}});
    auto& model = h.build();
    model.start();
    h.executor.runUntilIdle();
    EXPECT_EQ(h.savedInbox().channel("a")->notifications().size(), 1u);
    const int saves = h.inboxStore->saves;
    int inboxChanges = 0;
    auto subscription =
        model.observe([&](ModelField field) { inboxChanges += field == ModelField::inbox; });

    for (int i = 0; i < 10; ++i) {
        h.executor.advance(std::chrono::seconds(20));
        h.executor.runUntilIdle();
    }
    ASSERT_EQ(h.service->requestsTo("sync").size(), 11u);
    model.flushSaves();
    EXPECT_EQ(h.inboxStore->saves, saves);
    EXPECT_EQ(inboxChanges, 0);
    EXPECT_FALSE(model.lastError());

    // A read mark from another device is a change.
    auto record = channelRecord("a", {}, {1});
    record.readSeq = 1;
    h.service->answer("sync", SyncResponse{{record}});
    h.run(model.refresh());
    EXPECT_EQ(h.savedInbox().channel("a")->lastReadSeq(), 1u);
    EXPECT_EQ(h.inboxStore->saves, saves + 1);
}

TEST(AppModelSync, AFailedSyncShowsTheBareErrorAdvancesNowAndKeepsTheInbox) {
    ModelHarness h;
    h.paired();
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    auto& model = h.build();
    h.run(model.refresh());

    h.service->fail("sync", 500);
    h.clock.advance(30);
    h.run(model.refresh());
    EXPECT_EQ(model.lastError(), "http(status: 500)");
    EXPECT_EQ(model.now(), h.clock.now());
    EXPECT_EQ(h.savedInbox().channel("a")->notifications().size(), 1u);

    h.service->unreachable("sync");
    h.run(model.refresh());
    EXPECT_EQ(model.lastError(), "Couldn't connect to server");

    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    h.run(model.refresh());
    EXPECT_FALSE(model.lastError());
}

TEST(AppModelSync, LocalDismissalsTheServiceLacksAreReplayedOnce) {
    ModelHarness h;
    h.paired();
    h.service->answer(
        "sync",
        SyncResponse{{channelRecord("a", {update("a", 3), update("a", 5), update("a", 7)})}});
    auto& model = h.build();
    h.run(model.refresh());
    h.service->unreachable("dismiss");
    model.dismiss("a-3");
    model.dismiss("a-5");
    h.executor.runUntilIdle();
    EXPECT_EQ(model.lastError(), "Couldn't sync that dismissal: Couldn't connect to server");

    // The service has recorded 3 only: 5 goes again, and only 5.
    h.service->answer("dismiss", OrvelProtocol::DismissAck{});
    h.service->answer("sync", SyncResponse{{channelRecord("a", {}, {3})}});
    const auto before = h.service->requestsTo("dismiss").size();
    h.run(model.refresh());
    const auto sent = h.service->requestsTo("dismiss");
    ASSERT_EQ(sent.size(), before + 1);
    EXPECT_NE(sent.back().body->find("\"seq\":5"), std::string::npos);
    EXPECT_FALSE(model.lastError());

    h.service->answer("sync", SyncResponse{{channelRecord("a", {}, {3, 5})}});
    h.run(model.refresh());
    EXPECT_EQ(h.service->requestsTo("dismiss").size(), before + 1);
}

TEST(AppModelSync, AFailedReplayEndsTheRefreshWithTheBareError) {
    ModelHarness h;
    h.paired();
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    auto& model = h.build();
    h.run(model.refresh());
    h.service->fail("dismiss", 502);
    model.dismiss("a-1");
    h.executor.runUntilIdle();
    h.service->answer("sync", SyncResponse{{channelRecord("a")}});
    h.run(model.refresh());
    EXPECT_EQ(model.lastError(), "http(status: 502)");
    EXPECT_TRUE(model.inbox().channel("a")->isDismissed(1));
}

TEST(AppModelSync, ARepeatedChannelInOneResponseIsMergedWithoutTrouble) {
    ModelHarness h;
    h.paired();
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)}, {9}),
                                            channelRecord("a", {update("a", 1), update("a", 2)})}});
    auto& model = h.build();
    model.start();
    h.executor.runUntilIdle();
    ASSERT_NE(model.inbox().channel("a"), nullptr);
    EXPECT_EQ(model.inbox().channel("a")->notifications().size(), 2u);
    EXPECT_EQ(h.notifications->shown.size(), 2u) << "an update listed twice is posted once";
    EXPECT_FALSE(model.lastError());
}

TEST(AppModelSync, OverlappingRefreshesNeverPostTwiceNorUndoANewerMerge) {
    ModelHarness h;
    h.paired();
    auto& model = h.build();
    model.start();
    h.executor.runUntilIdle();
    h.service->hold("sync");
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    model.refreshTick();
    model.refreshTick();
    h.executor.runUntilIdle();
    ASSERT_EQ(h.service->waiting("sync"), 2u);

    // In order: both answers carry update 1; it is announced once.
    h.service->release("sync");
    h.executor.runUntilIdle();
    h.service->release("sync");
    h.executor.runUntilIdle();
    EXPECT_EQ(h.notifications->shown.size(), 1u);
    EXPECT_EQ(model.newNotificationSequence(), 1);

    // Out of order: the older answer, which predates channel "b", arrives
    // last and must not remove it.
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    model.refreshTick();
    h.executor.runUntilIdle();
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)}),
                                            channelRecord("b", {update("b", 1)})}});
    model.refreshTick();
    h.executor.runUntilIdle();
    h.service->release("sync", 1);
    h.executor.runUntilIdle();
    h.service->release("sync", 0);
    h.executor.runUntilIdle();
    EXPECT_NE(model.inbox().channel("b"), nullptr);
    EXPECT_EQ(h.notifications->shown.size(), 2u);
    EXPECT_FALSE(model.lastError());
}

TEST(AppModelSync, EachRefreshTakesTheCalendarOfTheHostAsItIsThen) {
    ModelHarness h;
    h.paired();
    std::string zone = "Europe/Berlin";
    auto& model = h.build([&] { return OrvelKit::Calendar(zone, "en_US"); });
    h.run(model.refresh());
    EXPECT_EQ(model.calendar().timeZoneId(), "Europe/Berlin");
    zone = "Asia/Tokyo";
    h.run(model.refresh());
    EXPECT_EQ(model.calendar().timeZoneId(), "Asia/Tokyo");
}

TEST(AppModelSync, ObserversHearEachChangeUntilTheyUnsubscribe) {
    ModelHarness h;
    h.paired();
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    auto& model = h.build();
    std::vector<ModelField> heard;
    {
        auto subscription = model.observe([&](ModelField field) { heard.push_back(field); });
        h.run(model.refresh());
    }
    EXPECT_NE(std::find(heard.begin(), heard.end(), ModelField::inbox), heard.end());
    EXPECT_NE(std::find(heard.begin(), heard.end(), ModelField::now), heard.end());
    EXPECT_NE(std::find(heard.begin(), heard.end(), ModelField::newNotificationSequence),
              heard.end());
    const auto count = heard.size();
    model.open(Orvel::AppScreen::settings());
    EXPECT_EQ(heard.size(), count);
}

TEST(AppModelSync, WorkInFlightWhenTheModelGoesAwayIsDroppedSafely) {
    ModelHarness h;
    h.paired();
    h.build();
    h.service->hold("sync");
    h.model->refreshTick();
    h.executor.runUntilIdle();
    h.model.reset();
    h.service->release("sync");
    h.executor.runUntilIdle();
    SUCCEED();
}

} // namespace
