#include "orvelkit/presentation/ActivityDayDescriptor.h"
#include "orvelkit/presentation/Triage.h"
#include "orvelkit/presentation/UpdateFilter.h"
#include "tests/support/RecordGenerator.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using OrvelKit::ActivityDayDescriptor;
using OrvelKit::ActivityGroup;
using OrvelKit::ActivityItemDescriptor;
using OrvelKit::AgentRow;
using OrvelKit::Calendar;
using OrvelKit::Date;
using OrvelKit::Inbox;
using OrvelKit::StatusDot;
using OrvelKit::UpdateFilter;
using OrvelTest::at;
using OrvelTest::channelInbox;
using OrvelTest::ids;
using OrvelTest::notification;
using OrvelTest::sentBy;
namespace Presentation = OrvelKit::Presentation;

namespace {

const Calendar berlin("Europe/Berlin", "de_DE");
const Calendar utc("UTC", "en_US");

std::vector<Date> dates(const std::vector<ActivityDayDescriptor>& days) {
    std::vector<Date> result;
    for (const ActivityDayDescriptor& day : days) {
        result.push_back(day.date);
    }
    return result;
}

using Ids = std::vector<std::string>;

} // namespace

TEST(ActivityDays, AnEmptyInboxHasNoDays) {
    EXPECT_TRUE(Presentation::activityDays(Inbox(), at("2025-01-01T00:00:00Z"), berlin).empty());
}

TEST(ActivityDays, DaysEndAtMidnightInTheCalendarsTimeZone) {
    // 23:59 and 00:01 in Berlin (UTC+1), both on 10 March in UTC.
    const Inbox inbox({channelInbox("ch", {notification("ch", 1, {}, "2024-03-10T22:59:00Z"),
                                           notification("ch", 2, {}, "2024-03-10T23:01:00Z")})});
    const Date now = at("2024-03-11T12:00:00Z");
    const auto local = Presentation::activityDays(inbox, now, berlin);
    EXPECT_EQ(dates(local),
              (std::vector<Date>{at("2024-03-10T23:00:00Z"), at("2024-03-09T23:00:00Z")}));
    ASSERT_EQ(local.size(), 2u);
    EXPECT_EQ(ids(local[0].items), Ids{"ch-2"});
    EXPECT_EQ(ids(local[1].items), Ids{"ch-1"});

    const auto universal = Presentation::activityDays(inbox, now, utc);
    EXPECT_EQ(dates(universal), (std::vector<Date>{at("2024-03-10T00:00:00Z")}));
}

TEST(ActivityDays, ADayAcrossADaylightSavingChangeStaysOneDay) {
    // 31 March 2024 in Berlin lasts 23 hours: 00:30 CET to 23:30 CEST is one day.
    const Inbox inbox(
        {channelInbox("ch", {notification("ch", 1, {}, "2024-03-31T00:30:00+01:00"),
                             notification("ch", 2, {}, "2024-03-31T23:30:00+02:00"),
                             notification("ch", 3, {}, "2024-04-01T00:10:00+02:00"),
                             notification("ch", 4, {}, "2024-10-27T02:30:00+01:00"),
                             notification("ch", 5, {}, "2024-10-27T02:30:00+02:00")})});
    const auto days = Presentation::activityDays(inbox, at("2024-11-01T00:00:00Z"), berlin);
    EXPECT_EQ(dates(days),
              (std::vector<Date>{at("2024-10-27T00:00:00+02:00"), at("2024-04-01T00:00:00+02:00"),
                                 at("2024-03-31T00:00:00+01:00")}));
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(ids(days[0].items), (Ids{"ch-4", "ch-5"}));
    EXPECT_EQ(ids(days[2].items), (Ids{"ch-2", "ch-1"}));
}

TEST(ActivityDays, ItemsAreNewestFirstAndUnreadableTimesAreLeftOut) {
    const Inbox inbox({
        channelInbox("a",
                     {sentBy("deployer", notification("a", 3, "need", "2025-07-01T10:00:00Z")),
                      notification("a", 2, "done", "not a time"),
                      notification("a", 1, {}, "2025-07-01T10:00:00Z")},
                     /*lastReadSeq=*/1),
        channelInbox("b",
                     {sentBy("", notification("b", 7, "mystery", "2025-07-01T09:59:00.5Z")),
                      notification("b", 8, "running", "2025-06-30T10:00:00Z")},
                     /*lastReadSeq=*/7, /*dismissed=*/{7}),
    });
    // An update filed under a channel without an entry of its own.
    const Inbox withStray({channelInbox("a",
                                        {notification("a", 3, {}, "2025-07-01T10:00:00Z"),
                                         notification("z", 1, {}, "2025-07-01T09:00:00Z")},
                                        /*lastReadSeq=*/5)});
    const Date now = at("2025-07-01T10:05:00Z");
    const auto days = Presentation::activityDays(inbox, now, utc);
    ASSERT_EQ(days.size(), 2u);
    // Equal times by `seq` descending; the dismissed update is kept.
    EXPECT_EQ(ids(days[0].items), (Ids{"a-3", "a-1", "b-7"}));
    EXPECT_EQ(days[0].items[0],
              (ActivityItemDescriptor{"a-3", "a", "deployer", "Update 3",
                                      at("2025-07-01T10:00:00Z"), "5m", StatusDot::need, true}));
    EXPECT_FALSE(days[0].items[1].isUnread);
    EXPECT_EQ(days[0].items[2],
              (ActivityItemDescriptor{"b-7", "b", "b", "Update 7", at("2025-07-01T09:59:00.5Z"),
                                      "5m", StatusDot::info, false}));
    EXPECT_EQ(days[1].items[0].relativeTime, "1d");
    EXPECT_TRUE(days[1].items[0].isUnread);

    const auto stray = Presentation::activityDays(withStray, now, utc);
    ASSERT_EQ(stray.size(), 1u);
    EXPECT_FALSE(stray[0].items[0].isUnread);
    EXPECT_TRUE(stray[0].items[1].isUnread);
}

TEST(ActivityDays, DaysReadInTurnFollowTriagesOrder) {
    // Timestamps in no particular order, some unreadable, some shared.
    OrvelTest::RecordGenerator generator(99);
    std::vector<OrvelKit::ChannelInbox> channels;
    for (int c = 0; c < 6; ++c) {
        const std::string id = "ch" + std::to_string(c);
        std::vector<OrvelProtocol::Notification> updates;
        for (std::uint64_t seq = 1; seq <= 300; ++seq) {
            auto update = generator.notification(id, seq);
            update.createdAt = generator.chance(5) ? "unreadable"
                               : generator.chance(30)
                                   ? generator.timestamp(seq * 600)
                                   : generator.timestamp(generator.below(40) * 3600);
            updates.push_back(std::move(update));
        }
        channels.push_back(channelInbox(id, std::move(updates), generator.below(300)));
    }
    const Inbox inbox(std::move(channels));
    const Date now = at("2025-07-05T00:00:00Z");
    std::vector<std::string> flattened;
    for (const ActivityDayDescriptor& day : Presentation::activityDays(inbox, now, berlin)) {
        for (const ActivityItemDescriptor& item : day.items) {
            EXPECT_EQ(berlin.startOfDay(item.createdAt), day.date);
            flattened.push_back(item.id);
        }
    }
    std::vector<std::string> triaged;
    for (const AgentRow& row : Presentation::triaged(inbox, now).rows) {
        if (!row.relativeTime.empty()) {
            triaged.push_back(row.id);
        }
    }
    EXPECT_EQ(flattened, triaged);
}

TEST(ActivityDays, CountsAttentionCompletedAndRunningItems) {
    const char* statuses[] = {"failed", "need", "done", "done", "running", "info", "idle", "Need"};
    std::vector<OrvelProtocol::Notification> updates;
    std::uint64_t seq = 0;
    for (const char* status : statuses) {
        ++seq;
        updates.push_back(notification("ch", seq, status, "2025-07-01T10:00:00Z"));
    }
    updates.push_back(notification("ch", ++seq, {}, "2025-07-01T10:00:00Z"));
    const auto days = Presentation::activityDays(Inbox({channelInbox("ch", updates)}),
                                                 at("2025-07-02T00:00:00Z"), utc);
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].items.size(), 9u);
    EXPECT_EQ(days[0].attentionCount(), 2u);
    EXPECT_EQ(days[0].completedCount(), 2u);
    EXPECT_EQ(days[0].runningCount(), 1u);
    EXPECT_EQ(ActivityDayDescriptor{}.attentionCount(), 0u);
}

namespace {

AgentRow row(std::string id, StatusDot dot, bool unread, std::string agent = "agent") {
    AgentRow result;
    result.id = std::move(id);
    result.agent = std::move(agent);
    result.dot = dot;
    result.section =
        dot == StatusDot::need ? OrvelKit::InboxSection::needsYou : OrvelKit::InboxSection::away;
    result.isUnread = unread;
    return result;
}

} // namespace

TEST(UpdateFilter, KeepsTheMatchingRowsInOrder) {
    const std::vector<AgentRow> rows = {
        row("need-read", StatusDot::need, false),  row("failed", StatusDot::failed, true),
        row("running", StatusDot::running, false), row("need-unread", StatusDot::need, true),
        row("done", StatusDot::done, false),       row("info", StatusDot::info, true)};
    const auto filtered = [&rows](UpdateFilter filter) {
        return ids(Presentation::filteredUpdates(rows, filter));
    };
    EXPECT_EQ(Presentation::filteredUpdates(rows, UpdateFilter::all), rows);
    EXPECT_EQ(filtered(UpdateFilter::unread), (Ids{"failed", "need-unread", "info"}));
    EXPECT_EQ(filtered(UpdateFilter::needsYou), (Ids{"need-read", "need-unread"}));
    EXPECT_EQ(filtered(UpdateFilter::running), (Ids{"running"}));
    // Failed rows sit in the `away` section and are still found.
    EXPECT_EQ(filtered(UpdateFilter::failed), (Ids{"failed"}));

    // Triage's `needsYou` section is exactly what the filter keeps.
    const Inbox inbox(
        {channelInbox("ch", {notification("ch", 1, "need", "2025-07-01T10:00:00Z"),
                             notification("ch", 2, "failed", "2025-07-01T10:00:00Z"),
                             notification("ch", 3, "need", "2025-07-01T10:00:00Z")})});
    const auto triaged = Presentation::triaged(inbox, at("2025-07-01T11:00:00Z"));
    EXPECT_EQ(Presentation::filteredUpdates(triaged.rows, UpdateFilter::needsYou),
              triaged.needsYou());
}

TEST(UpdateFilter, GroupsKeepTheirIdentityAndLoseEmptyOnes) {
    const std::vector<ActivityGroup> groups = {
        ActivityGroup{"ch\x1F"
                      "one",
                      "one",
                      {row("1a", StatusDot::done, false, "one"),
                       row("1b", StatusDot::need, true, "one"),
                       row("1c", StatusDot::done, false, "one")}},
        ActivityGroup{"ch\x1F"
                      "two",
                      "two",
                      {row("2a", StatusDot::done, false, "two")}},
    };
    const auto unread = Presentation::filteredActivityGroups(groups, UpdateFilter::unread);
    ASSERT_EQ(unread.size(), 1u);
    EXPECT_EQ(unread[0].id, groups[0].id);
    EXPECT_EQ(unread[0].agent, "one");
    EXPECT_EQ(ids(unread[0].rows), Ids{"1b"});
    EXPECT_EQ(Presentation::filteredActivityGroups(groups, UpdateFilter::all), groups);
    EXPECT_TRUE(Presentation::filteredActivityGroups(groups, UpdateFilter::running).empty());
}
