#include "orvelkit/presentation/InboxScan.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/Triage.h"
#include "tests/support/RecordGenerator.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

namespace {

using namespace OrvelTest;
using OrvelProtocol::Notification;
using namespace OrvelKit;
using Presentation::triaged;
using Strings = std::vector<std::string>;

const Date now = at("2024-05-01T12:00:00Z");

TEST(Triage, StatusGivesDotSectionAndDigest) {
    const Inbox inbox({
        channelInbox("a", {notification("a", 1, "need", "2024-05-01T11:01:00Z"),
                           notification("a", 2, "failed", "2024-05-01T11:02:00Z"),
                           notification("a", 3, {}, "2024-05-01T11:03:00Z"),
                           notification("a", 4, "NEED", "2024-05-01T11:04:00Z"),
                           notification("a", 5, "done", "2024-05-01T11:05:00Z")}),
        channelInbox("b", {notification("b", 1, "idle", "2024-05-01T11:06:00Z"),
                           notification("b", 2, "running", "2024-05-01T11:07:00Z")}),
    });
    const TriagedInbox result = triaged(inbox, now);
    std::vector<StatusDot> dots;
    for (const AgentRow& row : result.rows) {
        dots.push_back(row.dot);
    }
    EXPECT_EQ(dots,
              (std::vector{StatusDot::running, StatusDot::idle, StatusDot::done, StatusDot::info,
                           StatusDot::info, StatusDot::failed, StatusDot::need}));
    EXPECT_EQ(ids(result.needsYou()), (Strings{"a-1"}));
    EXPECT_EQ(ids(result.away()), (Strings{"b-2", "b-1", "a-5", "a-4", "a-3", "a-2"}));
    EXPECT_EQ(result.digest, (Digest{.updated = 2, .needYou = 1, .silenced = 2}));
    EXPECT_EQ(result.heldBack(), 2u);
}

TEST(Triage, SourcesAreTheSameExactlyWhenTheirKeysAreAndShareTheirRows) {
    // Channel "x<US>y" with sender "z" and channel "x" with sender "y<US>z"
    // share the key text "x<US>y<US>z", so they form one group.
    const std::string split = "x\x1F"
                              "y";
    const Inbox inbox(
        {channelInbox(split, {sentBy("z", notification(split, 1, "done", "2024-05-01T11:00:00Z"))}),
         channelInbox("x", {sentBy("y\x1Fz", notification("x", 1, "done", "2024-05-01T10:00:00Z")),
                            sentBy("y", notification("x", 2, "done", "2024-05-01T09:00:00Z"))})});
    const TriagedInbox result = triaged(inbox, now);
    ASSERT_EQ(result.activityGroups.size(), 2u);
    EXPECT_EQ(ids(result.activityGroups[0].rows), (Strings{split + "-1", "x-1"}));
    EXPECT_EQ(result.activityGroups[1].id, "x\x1Fy");
    // Groups share the rows of the row list rather than copying them.
    EXPECT_EQ(&result.activityGroups[0].rows[1], &result.rows[1]);
    EXPECT_EQ(&result.activityGroups[1].rows[0], &result.rows[2]);
}

// Triage read the plain way: rows in the order of `Inbox::all` sorted stably
// by date (undated last) and `seq`, groups gathered by their key text.
TriagedInbox straightforwardTriage(const Inbox& inbox, Date now) {
    std::vector<Notification> ordered = inbox.all();
    const auto dateOf = [](const Notification& n) { return Presentation::parseISO(n.createdAt); };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const Notification& a, const Notification& b) {
                         const auto da = dateOf(a);
                         const auto db = dateOf(b);
                         if (da == db) {
                             return a.seq > b.seq;
                         }
                         return db < da; // an absent date is the smallest
                     });
    std::vector<AgentRow> rows;
    std::vector<std::string> keys;
    std::map<std::string, std::vector<AgentRow>> rowsOfKey;
    for (const Notification& n : ordered) {
        const ChannelInbox* entry = inbox.channel(n.channel);
        rows.push_back(
            Presentation::agentRow(n, entry == nullptr || entry->lastReadSeq() < n.seq, now));
        const std::string key = Presentation::sourceKey(n);
        if (!rowsOfKey.contains(key)) {
            keys.push_back(key);
        }
        rowsOfKey[key].push_back(rows.back());
    }
    TriagedInbox result;
    for (const std::string& key : keys) {
        result.activityGroups.push_back(
            ActivityGroup{key, rowsOfKey[key].front().agent, rowsOfKey[key]});
    }
    result.rows = rows;
    result.digest = Presentation::digest(ordered);
    return result;
}

TEST(Triage, MatchesTheStraightforwardReadingOnAGeneratedInbox) {
    // Channels whose timestamps mostly fall with `seq` but not always, ties
    // across channels, unreadable timestamps, records naming other (followed
    // and unfollowed) channels, empty and repeated senders, dismissed updates
    // (which triage keeps, read or unread as their channel's mark says).
    OrvelTest::RecordGenerator generator(77);
    std::vector<ChannelInbox> channels;
    for (int c = 0; c < 6; ++c) {
        const std::string id = "ch" + std::to_string(c);
        std::vector<Notification> notifications;
        for (std::uint64_t seq = 1; seq <= 300; ++seq) {
            Notification n = generator.notification(id, seq);
            const std::uint64_t roll = generator.below(100);
            if (roll < 5) {
                n.createdAt = "sometime";
            } else if (roll < 15) {
                n.createdAt = generator.timestamp(generator.below(3000) * 60);
            } else if (roll < 25) {
                n.createdAt = generator.timestamp(seq * 60); // the same instant in every channel
            } else {
                n.createdAt = generator.timestamp(seq * 60 + generator.below(50));
            }
            if (roll % 7 == 0) {
                n.channel = roll % 2 == 0 ? "ch0" : "elsewhere";
            }
            if (n.sender) {
                n.sender = roll % 9 == 0 ? "" : "agent-" + std::to_string(generator.below(4));
            }
            notifications.push_back(std::move(n));
        }
        channels.push_back(
            channelInbox(id, std::move(notifications), 120 + 20 * c, {5, 150, 299, 300}));
    }
    const Inbox inbox(std::move(channels));
    const Date later = at(OrvelTest::RecordGenerator(1).timestamp(400 * 60));
    const TriagedInbox result = triaged(inbox, later);
    const TriagedInbox expected = straightforwardTriage(inbox, later);
    ASSERT_EQ(result.rows.size(), 1800u);
    EXPECT_EQ(ids(result.rows), ids(expected.rows));
    EXPECT_EQ(result, expected);
}

} // namespace
