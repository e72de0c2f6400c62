// Sync merges, membership and reading order are checked against a plain
// model in MergeAgainstReferenceTests.cpp; here the rest of the inbox.

#include "orvelkit/inbox/Inbox.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

using namespace OrvelTest;
using OrvelKit::ChannelCursors;
using OrvelKit::ChannelInbox;
using OrvelKit::ChannelSequenceSets;
using OrvelKit::Inbox;
using Ids = std::vector<std::string>;
using Seqs = std::vector<std::uint64_t>;

namespace {

Ids channelIds(const Inbox& inbox) {
    Ids result;
    for (const ChannelInbox& entry : inbox.channels()) {
        result.push_back(entry.channel());
    }
    return result;
}

} // namespace

TEST(InboxSync, PendingDismissalsAreLocalOnesTheServiceLacks) {
    Inbox inbox({ChannelInbox("a", std::nullopt, false, {}, {}, 0, 0, 0, {1, 2, 3}),
                 ChannelInbox("b", std::nullopt, false, {}, {}, 0, 0, 0, {4}),
                 ChannelInbox("c", std::nullopt, false, {}, {}, 0, 0, 0, {5}), channelInbox("d")});

    EXPECT_TRUE(inbox.pendingDismissals({}).empty());
    EXPECT_EQ(inbox.pendingDismissals({{"a", {2, 9}}, {"b", {4}}, {"x", {1}}}),
              (ChannelSequenceSets{{"a", {1, 3}}}));
    EXPECT_EQ(inbox.pendingDismissals({{"c", {}}}), (ChannelSequenceSets{{"c", {5}}}));
    inbox.dismiss("b", 6);
    EXPECT_EQ(inbox.dismissedSequences(),
              (ChannelSequenceSets{{"a", {1, 2, 3}}, {"b", {4, 6}}, {"c", {5}}}));
}

TEST(InboxReading, CursorsAndUnreadTotals) {
    Inbox inbox({ChannelInbox("a", std::nullopt, false, {notification("a", 60)},
                              {cardUpdate("a", 4)}, 58, 55, 2, {}),
                 ChannelInbox("b", {}, false, {notification("b", 1), notification("b", 2)}, {}, 0,
                              9, 0, {})});
    EXPECT_EQ(inbox.syncCursors(), (ChannelCursors{{"a", 60}, {"b", 9}}));
    EXPECT_EQ(inbox.cardSyncCursors(), (ChannelCursors{{"a", 4}, {"b", 0}}));
    EXPECT_EQ(inbox.totalUnread(), 3u);
    inbox.markAllRead();
    EXPECT_EQ(inbox.totalUnread(), 0u);
    EXPECT_EQ(inbox.channel("b")->lastReadSeq(), 9u);
    EXPECT_EQ(inbox.allRefs()[1], &inbox.channel("b")->notifications()[0]);
}

TEST(InboxEditing, ChannelIdsDecideWhereChangesGo) {
    Inbox inbox;
    inbox.merge("x", {notification("x", 2)}, 2);
    inbox.merge("y", {notification("other", 8)}, 8);
    inbox.merge("x", {notification("x", 3)}, 3);
    EXPECT_EQ(channelIds(inbox), (Ids{"x", "y"}));
    EXPECT_EQ(seqs(inbox.channel("x")->notifications()), (Seqs{3, 2}));
    EXPECT_TRUE(inbox.channel("y")->notifications().empty());
    EXPECT_EQ(inbox.channel("y")->latestSeq(), 8u);

    const Inbox before = inbox;
    inbox.remove("nope");
    inbox.dismiss("nope", 1);
    EXPECT_EQ(inbox, before);
    EXPECT_EQ(inbox.channel("X"), nullptr);
    inbox.dismiss("y", 1);
    EXPECT_NE(inbox, before);
    inbox.remove("x");
    EXPECT_EQ(channelIds(inbox), (Ids{"y"}));

    // A loaded list that repeats an id keeps the first entry only.
    Inbox loaded({channelInbox("a", {notification("a", 1)}), channelInbox("b"),
                  channelInbox("a", {notification("a", 9)})});
    EXPECT_EQ(channelIds(loaded), (Ids{"a", "b"}));
    EXPECT_EQ(loaded.syncCursors().at("a"), 1u);
    EXPECT_EQ(loaded.all().size(), 1u);
}
