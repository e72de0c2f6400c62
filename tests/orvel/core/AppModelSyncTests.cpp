// The sync loop: start-up, one refresh end to end, failures and overlapping
// refreshes.

#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace OrvelTest;
using Orvel::ModelField;

TEST(AppModelSync, FirstLaunchRegistersTheDeviceAndSyncsAtOnceThenEveryTwentySeconds) {
    ModelHarness h;
    h.syncAnswers({channelSync("a", {notification("a", 1)})});
    auto& model = h.build();
    EXPECT_TRUE(h.service->requests().empty()) << "construction must not touch the network";

    model.start();
    h.executor.runUntilIdle();
    ASSERT_EQ(h.service->requests().size(), 2u);
    EXPECT_EQ(FakeService::endpointOf(h.service->requests()[0].url), "pair/bootstrap");
    EXPECT_EQ(h.configStore->load().value().deviceToken, "dev-token");
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
    auto& model = h.synced({channelSync("c"), channelSync("a")}, {"a", "b", "c"});
    ASSERT_EQ(model.config().channels.size(), 2u);
    EXPECT_EQ(model.config().channels[0].channel, "a");
    EXPECT_EQ(model.config().channels[1].channel, "c");
    EXPECT_EQ(h.configStore->load().value(), model.config());

    h.syncAnswers({});
    h.run(model.refresh());
    EXPECT_TRUE(h.configStore->load().value().channels.empty());
}

TEST(AppModelSync, OnlyInterruptDecidesWhatIsPostedButTheHeartbeatCountsEverySync) {
    for (const bool onlyInterrupt : {true, false}) {
        SCOPED_TRACE(onlyInterrupt);
        ModelHarness h;
        h.preferences->set("onlyInterrupt", onlyInterrupt);
        auto& model = h.started({channelSync("a")});
        h.syncAnswers({channelSync("a", {notification("a", 1, "need"), notification("a", 2, "done"),
                                         notification("a", 3)})});
        h.run(model.refresh());
        EXPECT_EQ(h.notifications->shown.size(), onlyInterrupt ? 1u : 3u);
        EXPECT_EQ(h.notifications->shown.at(0).identifier, onlyInterrupt ? "a-1" : "a-3");
        EXPECT_EQ(model.newNotificationSequence(), 1);
    }
}

std::vector<OrvelProtocol::Notification> updates(std::uint64_t from, std::uint64_t to) {
    std::vector<OrvelProtocol::Notification> notes;
    for (auto seq = from; seq <= to; ++seq) {
        notes.push_back(notification("a", seq, "need"));
    }
    return notes;
}

TEST(AppModelSync, ASyncPostsTheNewestFewAndOneSummaryThatReplacesTheLast) {
    struct Case {
        const char* what;
        // Updates the channel held before (absent: never synced here), then
        // how many "need" updates the next sync brings.
        std::optional<std::uint64_t> held;
        std::uint64_t arriving;
        std::vector<std::string> oneByOne;
        std::optional<std::string> summary;
        bool namedTwice = false;
    };
    const std::vector<Case> cases{
        {"joining an account with history", std::nullopt, 300, {}, "300 updates need you"},
        {"the first update of a new channel", std::nullopt, 1, {}, "1 update needs you"},
        {"a few new on a known channel", 300, 2, {"a-302", "a-301"}, std::nullopt},
        {"many new on a known channel",
         300,
         10,
         {"a-310", "a-309", "a-308"},
         "7 more updates need you"},
        {"an answer naming the channel twice", 300, 2, {"a-302", "a-301"}, std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModelHarness h;
        const std::uint64_t held = c.held.value_or(0);
        auto& model = h.started(c.held ? std::vector{channelSync("a", updates(1, held))}
                                       : std::vector<OrvelProtocol::ChannelSync>{});
        h.notifications->shown.clear();
        const auto heartbeats = model.newNotificationSequence();
        const auto record = channelSync("a", updates(held + 1, held + c.arriving));
        h.syncAnswers(c.namedTwice ? std::vector{record, record} : std::vector{record});
        h.run(model.refresh());

        std::vector<std::string> oneByOne;
        std::optional<std::string> summary;
        for (const auto& request : h.notifications->shown) {
            if (request.identifier == Orvel::Notifier::summaryIdentifier) {
                EXPECT_FALSE(summary) << "one summary per sync";
                EXPECT_TRUE(request.opensPanel);
                summary = request.title;
            } else {
                oneByOne.push_back(request.identifier);
            }
        }
        EXPECT_EQ(oneByOne, c.oneByOne);
        EXPECT_EQ(summary, c.summary);
        EXPECT_EQ(model.newNotificationSequence(), heartbeats + 1) << "one heartbeat per sync";
    }
}

TEST(AppModelSync, IdleRefreshesPublishAndSaveNothing) {
    ModelHarness h;
    h.paired();
    h.syncAnswers({channelSync("a", {notification("a", 1, "need")}, {1})});
    auto& model = h.build();
    model.start();
    h.executor.runUntilIdle();
    model.flushSaves();
    const int saves = h.inboxStore->saves;
    std::vector<ModelField> published;
    auto subscription = model.observe([&](ModelField field) { published.push_back(field); });

    // 200 seconds from a whole minute: only the three new minutes are told,
    // so the views recompute nothing in between.
    for (int i = 0; i < 10; ++i) {
        h.clock.advance(20);
        h.executor.advance(std::chrono::seconds(20));
        h.executor.runUntilIdle();
    }
    ASSERT_EQ(h.service->requestsTo("sync").size(), 11u);
    model.flushSaves();
    EXPECT_EQ(h.inboxStore->saves, saves);
    EXPECT_EQ(published, std::vector<ModelField>(3, ModelField::now));
    EXPECT_EQ(model.now(), h.clock.now());

    // A read mark from another device is a change.
    auto record = channelSync("a", {}, {1});
    record.readSeq = 1;
    h.syncAnswers({record});
    h.run(model.refresh());
    EXPECT_EQ(h.savedInbox().channel("a")->lastReadSeq(), 1u);
    EXPECT_EQ(h.inboxStore->saves, saves + 1);
}

TEST(AppModelSync, LocalDismissalsTheServiceLacksAreReplayedOnce) {
    ModelHarness h;
    auto& model = h.synced(
        {channelSync("a", {notification("a", 3), notification("a", 5), notification("a", 7)})});
    h.service->unreachable("dismiss");
    for (const auto* id : {"a-3", "a-5", "a-7"}) {
        model.dismiss(id);
    }
    h.executor.runUntilIdle();
    EXPECT_EQ(model.lastError(), "Couldn't sync that dismissal: Couldn't connect to server");

    // The service has recorded 3 only: 5 and 7 go again, and only they.
    h.service->answer("dismiss", OrvelProtocol::DismissAck{});
    h.syncAnswers({channelSync("a", {}, {3})});
    const auto before = h.service->requestsTo("dismiss").size();
    h.run(model.refresh());
    const auto sent = h.service->requestsTo("dismiss");
    ASSERT_EQ(sent.size(), before + 2);
    EXPECT_NE(sent[before].body->find("\"seq\":5"), std::string::npos);
    EXPECT_NE(sent[before + 1].body->find("\"seq\":7"), std::string::npos);
    EXPECT_FALSE(model.lastError());

    h.syncAnswers({channelSync("a", {}, {3, 5, 7})});
    h.run(model.refresh());
    EXPECT_EQ(h.service->requestsTo("dismiss").size(), before + 2);

    // A replay the service refuses ends the refresh with the bare error.
    h.service->fail("dismiss", 502);
    h.syncAnswers({channelSync("a")});
    h.run(model.refresh());
    EXPECT_EQ(model.lastError(), "http(status: 502)");
    EXPECT_TRUE(model.inbox().channel("a")->isDismissed(3));
}

// Answers arriving out of order (the older one dropped) are the fault tests'
// OverlappingRefreshes, on the real transport.
TEST(AppModelSync, OverlappingRefreshesNeverPostTheSameUpdateTwice) {
    ModelHarness h;
    auto& model = h.started();
    h.service->hold("sync");
    const auto a1 = channelSync("a", {notification("a", 1, "need")});
    h.syncAnswers({a1});
    model.refreshTick();
    model.refreshTick();
    h.executor.runUntilIdle();
    ASSERT_EQ(h.service->waiting("sync"), 2u);

    // In order: both answers carry update 1; it is announced once.
    for (int i = 0; i < 2; ++i) {
        h.service->release("sync");
        h.executor.runUntilIdle();
    }
    EXPECT_EQ(h.notifications->shown.size(), 1u);
    EXPECT_EQ(model.newNotificationSequence(), 1);
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

TEST(AppModelSync, AnAnswerArrivingAfterTheModelIsGoneIsDropped) {
    ModelHarness h;
    h.paired();
    h.syncAnswers({channelSync("a", {notification("a", 1, "need")})});
    h.build();
    h.service->hold("sync");
    h.model->refreshTick();
    h.executor.runUntilIdle();
    h.model.reset();
    h.service->release("sync");
    h.executor.runUntilIdle();
    EXPECT_EQ(h.inboxStore->load().value().channel("a"), nullptr);
    EXPECT_TRUE(h.notifications->shown.empty());
}

} // namespace
