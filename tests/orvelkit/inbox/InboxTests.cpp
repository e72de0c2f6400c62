#include "orvelkit/inbox/Inbox.h"
#include "tests/orvelkit/inbox/InboxRecords.h"

#include <gtest/gtest.h>

using namespace InboxRecords;
using OrvelKit::ChannelCursors;
using OrvelKit::ChannelInbox;
using OrvelKit::ChannelSequenceSets;
using OrvelKit::Inbox;
using Ids = std::vector<std::string>;
using Seqs = std::vector<std::uint64_t>;

namespace {

Ids ids(const Inbox& inbox) {
    Ids result;
    for (const ChannelInbox& entry : inbox.channels()) {
        result.push_back(entry.channel());
    }
    return result;
}

} // namespace

TEST(InboxSync, ResponseDecidesMembershipOrderNamesAndOwnership) {
    Inbox inbox({ChannelInbox("a", "Alpha", true, {note("a", 1)}, {}, 0, 0, 0, {}),
                 channel("b", {note("b", 1)}), channel("c")});

    auto emptyName = sync("a", 2, {note("a", 2)});
    emptyName.name = "";
    auto fresh = sync("new", 3, {note("new", 3)}, 1);
    fresh.name = "";
    fresh.dismissedSeqs = {2};
    inbox.applySync({fresh, sync("c", 0), emptyName});

    EXPECT_EQ(ids(inbox), (Ids{"a", "c", "new"}));
    EXPECT_EQ(seqs(inbox.channel("a")->notifications()), (Seqs{2, 1}));
    // Existing entry: an empty name is ignored, a missing `owned` means false.
    EXPECT_EQ(inbox.channel("a")->name(), "Alpha");
    EXPECT_FALSE(inbox.channel("a")->owned());
    // New entry: the name exactly as reported, even empty; read and dismissal
    // state taken in.
    EXPECT_EQ(inbox.channel("new")->name(), "");
    EXPECT_EQ(inbox.channel("new")->lastReadSeq(), 1u);
    EXPECT_TRUE(inbox.channel("new")->isDismissed(2));
    EXPECT_EQ(inbox.channel("c")->name(), std::nullopt);

    // A repeated record applies again to the same entry.
    auto owned = sync("c", 0);
    owned.owned = true;
    inbox.applySync({sync("a", 2), owned, sync("new", 3), sync("a", 4, {note("a", 4)})});
    EXPECT_EQ(ids(inbox), (Ids{"a", "c", "new"}));
    EXPECT_EQ(inbox.channel("a")->cursor(), 4u);
    EXPECT_TRUE(inbox.channel("c")->owned());

    inbox.applySync({});
    EXPECT_TRUE(inbox.channels().empty());
}

TEST(InboxSync, PendingDismissalsAreLocalOnesTheServiceLacks) {
    Inbox inbox({ChannelInbox("a", std::nullopt, false, {}, {}, 0, 0, 0, {1, 2, 3}),
                 ChannelInbox("b", std::nullopt, false, {}, {}, 0, 0, 0, {4}),
                 ChannelInbox("c", std::nullopt, false, {}, {}, 0, 0, 0, {5}), channel("d")});

    EXPECT_TRUE(inbox.pendingDismissals({}).empty());
    EXPECT_EQ(inbox.pendingDismissals({{"a", {2, 9}}, {"b", {4}}, {"x", {1}}}),
              (ChannelSequenceSets{{"a", {1, 3}}}));
    EXPECT_EQ(inbox.pendingDismissals({{"c", {}}}), (ChannelSequenceSets{{"c", {5}}}));
    inbox.dismiss("b", 6);
    EXPECT_EQ(inbox.dismissedSequences(),
              (ChannelSequenceSets{{"a", {1, 2, 3}}, {"b", {4, 6}}, {"c", {5}}}));
}

TEST(InboxReading, NewestFirstAcrossChannelsWithTieRules) {
    Inbox inbox({channel("a", {note("a", 5, "", "2024-05-02T09:00:00Z"), note("a", 7, "a7")}),
                 channel("b", {note("b", 7, "b7", "2024-01-01T00:00:00Z"), note("b", 1)})});
    const auto all = inbox.all();
    EXPECT_EQ(seqs(all), (Seqs{7, 7, 5, 1}));
    EXPECT_EQ(all[0].title, "a7");
    EXPECT_EQ(all[1].title, "b7");
    EXPECT_EQ(inbox.allRefs()[2], &inbox.channel("a")->notifications()[1]);

    // Card updates: timestamp text, then card sequence, then channel order.
    inbox.mergeCardUpdates("a", {card("a", 1, "2024-05-01T22:30:00Z", "late evening")}, 1);
    inbox.mergeCardUpdates("b",
                           {card("b", 2, "2024-05-02T08:00:00Z", "morning low"),
                            card("b", 9, "2024-05-02T08:00:00Z", "morning high")},
                           9);
    inbox.mergeCardUpdates("c", {card("c", 9, "2024-05-02T08:00:00Z", "tie, later channel")}, 9);
    Ids order;
    for (const auto& update : inbox.allCardUpdates()) {
        order.push_back(update.id);
    }
    EXPECT_EQ(order, (Ids{"morning high", "tie, later channel", "morning low", "late evening"}));
}

TEST(InboxReading, CursorsAndUnreadTotals) {
    Inbox inbox({ChannelInbox("a", std::nullopt, false, {note("a", 60)}, {card("a", 4, "t")}, 58,
                              55, 2, {}),
                 channel("b", {note("b", 1), note("b", 2)}, 0, 9)});
    EXPECT_EQ(inbox.syncCursors(), (ChannelCursors{{"a", 60}, {"b", 9}}));
    EXPECT_EQ(inbox.cardSyncCursors(), (ChannelCursors{{"a", 4}, {"b", 0}}));
    EXPECT_EQ(inbox.totalUnread(), 3u);
    inbox.markAllRead();
    EXPECT_EQ(inbox.totalUnread(), 0u);
    EXPECT_EQ(inbox.channel("b")->lastReadSeq(), 9u);
}

TEST(InboxEditing, ChannelIdsDecideWhereChangesGo) {
    Inbox inbox;
    inbox.merge("x", {note("x", 2)}, 2);
    inbox.merge("y", {note("other", 8)}, 8);
    inbox.merge("x", {note("x", 3)}, 3);
    EXPECT_EQ(ids(inbox), (Ids{"x", "y"}));
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
    EXPECT_EQ(ids(inbox), (Ids{"y"}));

    // A loaded list that repeats an id keeps the first entry only.
    Inbox loaded({channel("a", {note("a", 1)}), channel("b"), channel("a", {note("a", 9)}, 0, 9)});
    EXPECT_EQ(ids(loaded), (Ids{"a", "b"}));
    EXPECT_EQ(loaded.syncCursors().at("a"), 1u);
    EXPECT_EQ(loaded.all().size(), 1u);
}
