#include "orvelkit/inbox/ChannelInbox.h"
#include "tests/orvelkit/inbox/InboxRecords.h"

#include <gtest/gtest.h>

using namespace InboxRecords;
using OrvelKit::ChannelInbox;
using Seqs = std::vector<std::uint64_t>;

TEST(ChannelInbox, ConstructionSortsNewestFirstAndRaisesLatestToTheLists) {
    ChannelInbox inbox("a", "Alpha", true, {note("a", 3), note("a", 9), note("a", 5)},
                       {card("a", 2, "t"), card("a", 7, "t")}, 4, 6, 1, {3});
    EXPECT_EQ(seqs(inbox.notifications()), (Seqs{9, 5, 3}));
    EXPECT_EQ(inbox.cardUpdates().front().cardSeq, 7u);
    EXPECT_EQ(inbox.latestSeq(), 9u);
    EXPECT_EQ(inbox.latestCardSeq(), 7u);
    EXPECT_EQ(channel("a", {note("a", 2)}, 0, 40).latestSeq(), 40u);

    // Records sharing a number stay in their given order until a merge, which
    // keeps the later one.
    ChannelInbox loaded = channel("a", {note("a", 4, "old"), note("a", 6), note("a", 4, "new")});
    ASSERT_EQ(seqs(loaded.notifications()), (Seqs{6, 4, 4}));
    EXPECT_EQ(loaded.notifications()[1].title, "old");
    EXPECT_EQ(loaded.unreadCount(), 3u);
    loaded.merge({}, std::nullopt);
    ASSERT_EQ(seqs(loaded.notifications()), (Seqs{6, 4}));
    EXPECT_EQ(loaded.notifications()[1].title, "new");

    // A list already newest first (as the inbox file holds it) is taken as
    // given, its shared numbers in their given order too.
    ChannelInbox stored = channel("a", {note("a", 6), note("a", 4, "new"), note("a", 4, "old")});
    ASSERT_EQ(seqs(stored.notifications()), (Seqs{6, 4, 4}));
    EXPECT_EQ(stored.notifications()[1].title, "new");
    EXPECT_EQ(stored.notifications()[2].title, "old");
    stored.merge({}, std::nullopt);
    EXPECT_EQ(stored.notifications()[1].title, "old");
}

TEST(ChannelInbox, CursorsAndReadMarkOnlyRise) {
    ChannelInbox inbox = channel("a", {note("a", 60), note("a", 12), note("a", 11)}, 11, 55);
    inbox.dismiss(60);
    EXPECT_EQ(inbox.cursor(), 60u);
    EXPECT_EQ(inbox.unreadCount(), 2u); // dismissed ones still count
    EXPECT_FALSE(inbox.isUnread(note("a", 11)));
    EXPECT_TRUE(inbox.isUnread(note("a", 12)));

    inbox.merge({}, 42);
    EXPECT_EQ(inbox.latestSeq(), 60u);
    inbox.mergeCardUpdates({card("a", 3, "t")}, 1);
    EXPECT_EQ(inbox.latestCardSeq(), 3u);
    inbox.applySync({}, 5, 4, {}, 0, std::nullopt, std::nullopt, {});
    EXPECT_EQ(inbox.lastReadSeq(), 11u);
    inbox.applySync({}, 70, 30, {}, 9, std::nullopt, std::nullopt, {});
    EXPECT_EQ(inbox.lastReadSeq(), 30u);
    EXPECT_EQ(inbox.cursor(), 70u);
    EXPECT_EQ(inbox.cardCursor(), 9u);
    inbox.markAllRead();
    EXPECT_EQ(inbox.lastReadSeq(), 70u);
    EXPECT_EQ(inbox.unreadCount(), 0u);

    ChannelInbox ahead = channel("b", {note("b", 3)}, 8);
    ahead.markAllRead();
    EXPECT_EQ(ahead.lastReadSeq(), 8u);
}

TEST(ChannelInbox, PulledCopyWinsAndForeignRecordsAreDropped) {
    ChannelInbox inbox = channel("a", {note("a", 2), note("a", 4), note("a", 8)});
    inbox.merge({note("a", 4, "edited")}, 8);
    ASSERT_EQ(seqs(inbox.notifications()), (Seqs{8, 4, 2}));
    EXPECT_EQ(inbox.notifications()[1].title, "edited");

    // Above, in a gap and below; of two pulled copies of one number the last wins.
    inbox.merge({note("a", 10, "x"), note("a", 3), note("a", 1), note("a", 10, "y"), note("a", 9)},
                10);
    EXPECT_EQ(seqs(inbox.notifications()), (Seqs{10, 9, 8, 4, 3, 2, 1}));
    EXPECT_EQ(inbox.notifications().front().title, "y");

    inbox.merge({note("b", 50)}, 30);
    EXPECT_EQ(inbox.notifications().size(), 7u);
    EXPECT_EQ(inbox.latestSeq(), 30u);
    inbox.mergeCardUpdates({card("b", 4, "t")}, 6);
    EXPECT_TRUE(inbox.cardUpdates().empty());
    EXPECT_EQ(inbox.latestCardSeq(), 6u);

    inbox.mergeCardUpdates({card("a", 5, "t", "five"), card("a", 2, "t")}, std::nullopt);
    inbox.mergeCardUpdates({card("a", 5, "t", "five again"), card("a", 3, "t")}, std::nullopt);
    ASSERT_EQ(inbox.cardUpdates().size(), 3u);
    EXPECT_EQ(inbox.cardUpdates()[0].id, "five again");
}

TEST(ChannelInbox, SyncKeepsNameAndOwnershipUnlessReported) {
    ChannelInbox inbox("a", "Alpha", true, {}, {}, 0, 0, 0, {1});
    inbox.applySync({}, 2, 0, {}, 0, std::nullopt, std::nullopt, {4, 1});
    EXPECT_EQ(inbox.name(), "Alpha");
    EXPECT_TRUE(inbox.owned());
    EXPECT_EQ(inbox.dismissedSeqs(), (OrvelKit::SequenceSet{1, 4}));

    inbox.applySync({}, 2, 0, {}, 0, std::string(), false, {});
    EXPECT_EQ(inbox.name(), "Alpha");
    EXPECT_FALSE(inbox.owned());
    inbox.applySync({}, 2, 0, {}, 0, std::string("Renamed"), std::nullopt, {});
    EXPECT_EQ(inbox.name(), "Renamed");
    EXPECT_FALSE(inbox.owned());
}
