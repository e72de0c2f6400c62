#include "orvelkit/presentation/MenuBarIndicator.h"
#include "orvelkit/presentation/SmartBriefing.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;
using OrvelProtocol::Notification;
using namespace OrvelKit;
using namespace OrvelKit::Presentation;
using Strings = std::vector<std::string>;
using Counts = std::vector<std::size_t>;

const Calendar utc("UTC", "en_US");

TEST(SmartBriefing, PeriodsFollowTheWallClockOfTheZone) {
    using P = BriefingPeriod;
    const std::tuple<const char*, const char*, P, const char*> cases[] = {
        {"Europe/Berlin", "2024-05-02T05:00:00+02:00", P::morning, "2024-05-01T18:00:00+02:00"},
        {"Europe/Berlin", "2024-05-02T12:00:00+02:00", P::afternoon, "2024-05-02T08:00:00+02:00"},
        {"Europe/Berlin", "2024-05-02T22:00:00+02:00", P::night, "2024-05-02T17:00:00+02:00"},
        // The day before a morning after a daylight-saving change is a whole
        // calendar day (23 or 25 hours), not 86,400 seconds.
        {"Europe/Berlin", "2024-04-01T05:00:00+02:00", P::morning, "2024-03-31T18:00:00+02:00"},
        {"America/New_York", "2024-03-11T04:30:00-04:00", P::night, "2024-03-10T17:00:00-04:00"}};
    for (const auto& [zone, now, period, start] : cases) {
        SCOPED_TRACE(std::string(zone) + " " + now);
        const Calendar calendar(zone, "en_US");
        EXPECT_EQ(briefingPeriodStart(at(now), calendar), at(start));
        EXPECT_EQ(smartBriefing(Inbox(), at(now), std::nullopt, calendar).period, period);
    }
}

TEST(SmartBriefing, WindowStartsAtTheLastVisitOnlyWithinThePeriod) {
    const Date now = at("2024-05-02T09:00:00Z");
    const Date periodStart = at("2024-05-01T18:00:00Z");
    const auto scope = [&](std::optional<Date> lastOpenedAt) {
        return smartBriefing(Inbox(), now, lastOpenedAt, utc).scope;
    };
    EXPECT_EQ(scope(std::nullopt), BriefingScope::overnight);
    EXPECT_EQ(scope(periodStart), BriefingScope::sinceLastVisit);
    EXPECT_EQ(scope(periodStart.addingSeconds(-1)), BriefingScope::overnight);
    EXPECT_EQ(scope(now), BriefingScope::overnight);

    // The window follows the last visit: an update before it is not counted.
    const Inbox inbox({channelInbox("a", {notification("a", 1, {}, "2024-05-02T07:00:00Z"),
                                          notification("a", 2, {}, "2024-05-02T08:30:00Z")})});
    EXPECT_EQ(smartBriefing(inbox, now, at("2024-05-02T08:00:00Z"), utc).updatesInWindow, 1u);
    EXPECT_EQ(smartBriefing(inbox, now, std::nullopt, utc).updatesInWindow, 2u);
}

TEST(SmartBriefing, SourceWhoseNewestUpdateIsDismissedIsHidden) {
    const Date now = at("2024-05-02T09:00:00Z");
    const Inbox inbox(
        {channelInbox("a",
                      {sentBy("bot", notification("a", 1, "need", "2024-05-02T06:00:00Z")),
                       sentBy("bot", notification("a", 2, "running", "2024-05-02T07:00:00Z")),
                       sentBy("bot", notification("a", 3, "done", "2024-05-02T08:00:00Z")),
                       sentBy("other", notification("a", 4, "need", "2024-05-02T08:30:00Z"))},
                      0, {3})});
    const SmartBriefing briefing = smartBriefing(inbox, now, std::nullopt, utc);
    EXPECT_EQ(ids(briefing.agents), (Strings{"a-4"}));
    EXPECT_EQ(ids(briefing.attention), (Strings{"a-4"}));
    EXPECT_TRUE(briefing.onRadar.empty());
    EXPECT_TRUE(briefing.transitions.empty());
    // Its undismissed updates still count, and it still counts as a source.
    EXPECT_EQ(briefing.updatesInWindow, 3u);
    EXPECT_EQ(briefing.agentsInWindow, 2u);
    EXPECT_EQ(briefing.completedCount, 0u); // the done update is the dismissed one
    EXPECT_EQ(briefing.unreadAttentionCount(), 1u);
}

TEST(SmartBriefing, RadarHoldsRunningSourcesAndInfoSourcesActiveInTheWindow) {
    const Date now = at("2024-05-02T09:00:00Z"); // window from 2024-05-01T18:00Z
    const Inbox inbox({channelInbox(
        "a",
        {sentBy("old-runner", notification("a", 1, "running", "2024-04-20T10:00:00Z")),
         sentBy("old-info", notification("a", 2, "info", "2024-04-20T10:00:00Z")),
         sentBy("new-info", notification("a", 3, "info", "2024-05-02T08:00:00Z")),
         sentBy("new-odd", notification("a", 4, "unknown", "2024-05-02T08:10:00Z")),
         sentBy("finisher", notification("a", 5, "done", "2024-05-02T08:20:00Z")),
         sentBy("asker", notification("a", 6, "need", "2024-05-02T08:30:00Z")),
         sentBy("crasher", notification("a", 7, "failed", "2024-05-02T08:40:00Z")),
         sentBy("sleeper", notification("a", 8, "idle", "2024-05-02T08:50:00Z"))},
        4)});
    const SmartBriefing briefing = smartBriefing(inbox, now, std::nullopt, utc);
    EXPECT_EQ(ids(briefing.onRadar), (Strings{"a-4", "a-3", "a-1"}));
    EXPECT_EQ(ids(briefing.attention), (Strings{"a-7", "a-6"}));
    // Total, active, background, completed, updates and sources in the window.
    EXPECT_EQ((Counts{briefing.totalCount, briefing.activeCount, briefing.backgroundCount,
                      briefing.completedCount, briefing.updatesInWindow, briefing.agentsInWindow}),
              (Counts{8, 1, 6, 1, 6, 6}));
    // a-1 ... a-4 are read.
    EXPECT_FALSE(briefing.onRadar[0].isUnread);
    EXPECT_TRUE(briefing.attention[0].isUnread);
}

TEST(SmartBriefing, TransitionsCompareTheNewestTwoVisibleUpdatesInTheWindow) {
    const Date now = at("2024-05-02T09:00:00Z");
    const Inbox inbox(
        {channelInbox("a",
                      {sentBy("changer", notification("a", 1, "running", "2024-05-02T06:00:00Z")),
                       sentBy("changer", notification("a", 2, "done", "2024-05-02T07:00:00Z")),
                       sentBy("steady", notification("a", 3, "done", "2024-05-02T06:00:00Z")),
                       sentBy("steady", notification("a", 4, "done", "2024-05-02T07:00:00Z")),
                       sentBy("stale", notification("a", 5, "running", "2024-04-01T06:00:00Z")),
                       sentBy("stale", notification("a", 6, "done", "2024-04-01T07:00:00Z")),
                       sentBy("skipper", notification("a", 7, "need", "2024-05-02T06:00:00Z")),
                       sentBy("skipper", notification("a", 8, "failed",
                                                      "2024-05-02T06:30:00Z")), // dismissed
                       sentBy("skipper", notification("a", 9, "bogus", "2024-05-02T07:30:00Z"))},
                      0, {8})});
    const SmartBriefing briefing = smartBriefing(inbox, now, std::nullopt, utc);
    ASSERT_EQ(briefing.transitions.size(), 2u);
    EXPECT_EQ(briefing.transitions[0], (AgentTransition{"a-9", "skipper", "Update 9", "1h",
                                                        StatusDot::need, StatusDot::info}));
    EXPECT_EQ(briefing.transitions[1].id, "a-2");
    EXPECT_EQ(briefing.completedCount, 2u);
}

TEST(SmartBriefing, ActivityCountsTheWindowInSixths) {
    // Last visit six hours before now: one sixth per hour.
    const Date now = at("2024-05-02T11:00:00Z");
    const Date lastVisit = at("2024-05-02T05:00:00Z");
    const Inbox inbox({channelInbox("a", {notification("a", 1, {}, "2024-05-02T04:59:59Z"),
                                          notification("a", 2, {}, "2024-05-02T05:00:00Z"),
                                          notification("a", 3, {}, "2024-05-02T06:59:59.999Z"),
                                          notification("a", 4, {}, "2024-05-02T07:00:01Z"),
                                          notification("a", 5, {}, "2024-05-02T11:00:00Z"),
                                          notification("a", 6, {}, "2024-05-02T11:00:00.001Z"),
                                          notification("a", 7, {}, "unreadable")})});
    const SmartBriefing briefing = smartBriefing(inbox, now, lastVisit, utc);
    EXPECT_EQ(briefing.activity, (Counts{1, 1, 1, 0, 0, 1}));
    EXPECT_EQ(briefing.updatesInWindow, 4u);

    // A window under a second counts as one second; no slices below 1.
    const std::vector<Date> dates{now, now.addingSeconds(0.25)};
    EXPECT_EQ(Presentation::activityBuckets(dates, now, now, 4), (Counts{1, 1, 0, 0}));
    EXPECT_TRUE(Presentation::activityBuckets(dates, now, now, 0).empty());
}

// What the tray shows of the briefing.

const Date now = at("2024-05-02T09:00:00Z");

Notification urgent(std::string channel, std::uint64_t seq, const char* status, std::string sender,
                    OrvelProtocol::Urgency urgency) {
    Notification update = sentBy(
        std::move(sender), notification(std::move(channel), seq, status, "2024-05-02T08:00:00Z"));
    update.urgency = urgency;
    return update;
}

TEST(MenuBarIndicator, CountsUnreadAttentionAndFlagsCritical) {
    using U = OrvelProtocol::Urgency;
    Inbox inbox({channelInbox("a", {urgent("a", 1, "need", "one", U::normal),
                                    urgent("a", 2, "failed", "two", U::critical),
                                    urgent("a", 3, "need", "three", U::high),
                                    urgent("a", 4, "running", "four", U::critical)}),
                 // Read attention does not count.
                 channelInbox("b", {urgent("b", 1, "need", "five", U::critical)}, 1)});
    const MenuBarIndicator indicator = menuBarIndicator(inbox, now, utc);
    EXPECT_EQ(indicator,
              (MenuBarIndicator{.emphasis = MenuBarEmphasis::critical, .attentionBadge = "3"}));
    // Attention does not depend on the calendar, so the user's gives the same.
    EXPECT_EQ(menuBarIndicator(inbox, now), indicator);

    // Dismissing the critical failure leaves two items of high emphasis.
    inbox.dismiss("a", 2);
    EXPECT_EQ(menuBarIndicator(inbox, now, utc),
              (MenuBarIndicator{.emphasis = MenuBarEmphasis::high, .attentionBadge = "2"}));

    inbox.markAllRead();
    EXPECT_EQ(menuBarIndicator(inbox, now, utc), MenuBarIndicator{});
}

} // namespace
