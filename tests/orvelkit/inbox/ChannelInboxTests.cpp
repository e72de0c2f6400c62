// What the random histories of MergeAgainstReferenceTests.cpp do not reach:
// the read mark as the user moves it, and the per-channel sync's own rule
// for ownership.

#include "orvelkit/inbox/ChannelInbox.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

using namespace OrvelTest;
using OrvelKit::ChannelInbox;

namespace {

// Update `seq` of channel "a", told apart from other copies of that number by
// `tag`.
OrvelProtocol::Notification a(std::uint64_t seq, std::string tag = "") {
    return notification("a", seq, tag);
}

} // namespace

TEST(ChannelInbox, ReadMarkAndCursorsOnlyRise) {
    ChannelInbox inbox("a", {}, false, {a(60), a(12), a(11)}, {}, 11, 55, 0, {});
    inbox.dismiss(60);
    EXPECT_EQ(inbox.cursor(), 60u);
    EXPECT_EQ(inbox.unreadCount(), 2u); // dismissed ones still count
    EXPECT_FALSE(inbox.isUnread(a(11)));
    EXPECT_TRUE(inbox.isUnread(a(12)));
    EXPECT_EQ(ChannelInbox("a", {}, false, {a(2)}, {}, 0, 40, 0, {}).cursor(), 40u);

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
    EXPECT_EQ(inbox.dismissedSeqs(), (OrvelKit::SequenceSet{1, 4}));

    inbox.applySync({}, 2, 0, {}, 0, std::string(), false, {});
    EXPECT_EQ(inbox.name(), "Alpha");
    EXPECT_FALSE(inbox.owned());
    inbox.applySync({}, 2, 0, {}, 0, std::string("Renamed"), std::nullopt, {});
    EXPECT_EQ(inbox.name(), "Renamed");
    EXPECT_FALSE(inbox.owned());
}
