#include "orvel/core/SampleData.h"

#include <gtest/gtest.h>

namespace Orvel {
namespace {

using OrvelKit::Date;

// 2026-12-06T10:00:00.75Z: fractions of a second do not show in the texts.
const Date tenOClock = Date::fromMicrosecondsSinceEpoch(1796551200750000);

TEST(SampleData, SixChannelsInMergeOrderWithSevenUpdates) {
    const OrvelKit::Inbox inbox = SampleData::inbox(tenOClock);
    std::vector<std::string> channels;
    for (const auto& channel : inbox.channels()) {
        channels.push_back(channel.channel());
        EXPECT_EQ(channel.name(), std::nullopt);
        EXPECT_FALSE(channel.owned());
        EXPECT_EQ(channel.lastReadSeq(), 0u);
    }
    EXPECT_EQ(channels, (std::vector<std::string>{"codex-daily", "claude", "ci", "analytics",
                                                  "research", "cron"}));
    EXPECT_EQ(inbox.all().size(), 7u);
    EXPECT_EQ(inbox.totalUnread(), 7u);
    EXPECT_EQ(inbox.channel("research")->latestSeq(), 2u);
    EXPECT_EQ(inbox.channel("ci")->latestSeq(), 5u);
    EXPECT_EQ(inbox.channel("cron")->latestCardSeq(), 2u);
}

TEST(SampleData, UpdatesAreTimedRelativeToNow) {
    const OrvelKit::Inbox inbox = SampleData::inbox(tenOClock);
    const auto& failed = inbox.channel("ci")->notifications().front();
    EXPECT_EQ(failed.id, "s3");
    EXPECT_EQ(failed.title, "Build failed on main");
    EXPECT_EQ(failed.status, "failed");
    EXPECT_EQ(failed.createdAt, "2026-12-06T09:46:00Z");

    const auto& research = inbox.channel("research")->notifications();
    ASSERT_EQ(research.size(), 2u);
    EXPECT_EQ(research[0].id, "s5");
    EXPECT_EQ(research[0].createdAt, "2026-12-06T04:00:00Z");
    EXPECT_EQ(research[1].id, "s5-old");
    EXPECT_EQ(research[1].status, "running");
    EXPECT_EQ(research[1].createdAt, "2026-12-06T02:00:00Z");

    const auto& conflict = inbox.channel("codex-daily")->notifications().front();
    EXPECT_EQ(conflict.sender, "Codex · daily-sync");
    EXPECT_EQ(conflict.createdAt, "2026-12-06T09:58:00Z");
    EXPECT_EQ(inbox.channel("analytics")->notifications().front().body, std::nullopt);

    EXPECT_EQ(SampleData::inbox(tenOClock.addingSeconds(3600))
                  .channel("ci")
                  ->notifications()
                  .front()
                  .createdAt,
              "2026-12-06T10:46:00Z");
}

TEST(SampleData, TheCardHasASnapshotAndADelta) {
    const OrvelKit::Inbox inbox = SampleData::inbox(tenOClock);
    const auto& updates = inbox.channel("cron")->cardUpdates();
    ASSERT_EQ(updates.size(), 2u);
    const auto& delta = updates[0];
    const auto& snapshot = updates[1];

    EXPECT_EQ(snapshot.id, "card-snapshot");
    EXPECT_EQ(snapshot.cardSeq, 1u);
    EXPECT_EQ(snapshot.updateId, "oss:weekly-snapshot");
    EXPECT_EQ(snapshot.createdAt, "2026-12-06T08:00:00Z");
    EXPECT_EQ(snapshot.operation.kind, "snapshot");
    ASSERT_EQ(snapshot.operation.values.size(), 1u);
    EXPECT_EQ(snapshot.operation.values[0],
              (OrvelProtocol::PersistentCardValue{std::nullopt, "5", "count", "number",
                                                  std::nullopt, "issues", "5"}));
    EXPECT_TRUE(snapshot.operation.deltas.empty());

    EXPECT_EQ(delta.id, "card-delta");
    EXPECT_EQ(delta.cardSeq, 2u);
    EXPECT_EQ(delta.updateId, "linear:ORV-142:shipped");
    EXPECT_EQ(delta.createdAt, "2026-12-06T09:30:00Z");
    EXPECT_EQ(delta.operation.kind, "delta");
    EXPECT_EQ(delta.operation.deltas,
              (std::vector<OrvelProtocol::PersistentCardDelta>{{"count", "1"}}));
    EXPECT_TRUE(delta.operation.values.empty());
    EXPECT_EQ(delta.operation.retractUpdateId, std::nullopt);

    for (const auto& update : updates) {
        EXPECT_EQ(update.cardKey, "oss-tickets-solved");
        EXPECT_EQ(update.channel, "cron");
        EXPECT_EQ(update.definition.title, "OSS tickets solved");
        EXPECT_EQ(update.definition.renderer, "metric");
        EXPECT_EQ(update.definition.rendererVersion, 1u);
        EXPECT_EQ(update.definition.fields, (std::vector<OrvelProtocol::PersistentCardField>{
                                                {"count", "number", "Solved", "primary"}}));
    }
}

} // namespace
} // namespace Orvel
