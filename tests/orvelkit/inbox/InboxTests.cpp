// Sync merges, membership and reading order are checked against a plain
// model in MergeAgainstReferenceTests.cpp; here the rest of the inbox: the
// read mark as the user moves it, ownership on a per-channel sync, pending
// dismissals and where edits go.

#include "orvelkit/inbox/Inbox.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

using namespace OrvelTest;
using namespace OrvelKit;
using Ids = std::vector<std::string>;

namespace {

Ids channelIds(const Inbox& inbox) {
    Ids result;
    for (const ChannelInbox& entry : inbox.channels()) {
        result.push_back(entry.channel());
    }
    return result;
}

} // namespace

TEST(ChannelInbox, ReadMarkAndCursorsOnlyRise) {
    ChannelInbox inbox("a", {}, false,
                       {notification("a", 60), notification("a", 12), notification("a", 11)}, {},
                       11, 55, 0, {});
    inbox.dismiss(60);
    EXPECT_EQ(inbox.cursor(), 60u);
    EXPECT_EQ(inbox.unreadCount(), 2u); // dismissed ones still count
    EXPECT_FALSE(inbox.isUnread(notification("a", 11)));

    inbox.merge({}, 42);
    EXPECT_EQ(inbox.latestSeq(), 60u);
    inbox.applySync({}, 5, 4, {}, 0, std::nullopt, std::nullopt, {});
    EXPECT_EQ(inbox.lastReadSeq(), 11u);
    inbox.applySync({}, 70, 30, {}, 9, std::nullopt, std::nullopt, {});
    EXPECT_EQ(inbox.lastReadSeq(), 30u);
    EXPECT_EQ(inbox.cardCursor(), 9u);
    inbox.markAllRead();
    EXPECT_EQ(inbox.lastReadSeq(), 70u);
    EXPECT_EQ(inbox.unreadCount(), 0u);

    ChannelInbox ahead = channelInbox("b", {notification("b", 3)}, 8);
    ahead.markAllRead();
    EXPECT_EQ(ahead.lastReadSeq(), 8u);
}

TEST(ChannelInbox, SyncKeepsNameAndOwnershipUnlessReported) {
    ChannelInbox inbox("a", "Alpha", true, {}, {}, 0, 0, 0, {1});
    inbox.applySync({}, 2, 0, {}, 0, std::nullopt, std::nullopt, {4, 1});
    EXPECT_EQ(inbox.name(), "Alpha");
    EXPECT_TRUE(inbox.owned());
    inbox.applySync({}, 2, 0, {}, 0, std::string(), false, {});
    EXPECT_EQ(inbox.name(), "Alpha");
    EXPECT_FALSE(inbox.owned());
    inbox.applySync({}, 2, 0, {}, 0, std::string("Renamed"), std::nullopt, {});
    EXPECT_EQ(inbox.name(), "Renamed");
    EXPECT_FALSE(inbox.owned());
}

TEST(InboxSync, PendingDismissalsAreLocalOnesTheServiceLacks) {
    Inbox inbox({channelInbox("a", {}, 0, {1, 2, 3}), channelInbox("b", {}, 0, {4}),
                 channelInbox("c", {}, 0, {5}), channelInbox("d")});
    EXPECT_TRUE(inbox.pendingDismissals({}).empty());
    EXPECT_EQ(inbox.pendingDismissals({{"a", {2, 9}}, {"b", {4}}, {"c", {}}, {"x", {1}}}),
              (ChannelSequenceSets{{"a", {1, 3}}, {"c", {5}}}));
    inbox.dismiss("b", 6);
    EXPECT_EQ(inbox.dismissedSequences(),
              (ChannelSequenceSets{{"a", {1, 2, 3}}, {"b", {4, 6}}, {"c", {5}}}));
}

TEST(InboxReading, CursorsAndUnreadTotals) {
    Inbox inbox({ChannelInbox("a", std::nullopt, false, {notification("a", 60)},
                              {cardUpdate("a", 4)}, 58, 55, 2, {}),
                 channelInbox("b", {notification("b", 1), notification("b", 2)})});
    EXPECT_EQ(inbox.syncCursors(), (ChannelCursors{{"a", 60}, {"b", 2}}));
    EXPECT_EQ(inbox.cardSyncCursors(), (ChannelCursors{{"a", 4}, {"b", 0}}));
    EXPECT_EQ(inbox.totalUnread(), 3u);
    inbox.markAllRead();
    EXPECT_EQ(inbox.totalUnread(), 0u);
}

// Merges into a channel, new or not, are the reference test's; a list that
// repeats a channel keeps its first entry (StoreFiles' repeated channel).
TEST(InboxEditing, ChangesToAnUnknownChannelChangeNothing) {
    Inbox inbox({channelInbox("x", {notification("x", 2)}), channelInbox("y")});
    const Inbox before = inbox;
    inbox.remove("nope");
    inbox.dismiss("nope", 1);
    EXPECT_EQ(inbox, before);
    EXPECT_EQ(inbox.channel("X"), nullptr);
    inbox.remove("x");
    EXPECT_EQ(channelIds(inbox), (Ids{"y"}));
}
