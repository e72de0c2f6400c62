#include "orvelkit/presentation/InboxRows.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;
using OrvelProtocol::Notification;
using namespace OrvelKit;
using Strings = std::vector<std::string>;

const Calendar berlin("Europe/Berlin", "de_DE");

TEST(InboxRows, RowCarriesTheUpdatesPresentation) {
    Notification card = sentBy("", notification("ops", 7, "done", "2024-05-01T10:00:00Z"));
    card.kind = OrvelProtocol::Kind::card;
    card.urgency = OrvelProtocol::Urgency::high;
    card.color = " #abc";
    card.deliverWhen = "Morning "; // surfaces at 08:00 the next day in Berlin
    // Which attachments show is ImageDescriptors'; the row carries them.
    card.attachments = {OrvelProtocol::Attachment{}, OrvelProtocol::Attachment{}};
    card.attachments[1].url = "https://example.com/b.png";
    const InboxRowDescriptor row =
        Presentation::row(card, true, at("2024-05-01T12:30:00Z"), berlin);
    EXPECT_EQ(row.sender, "ops");
    EXPECT_EQ(row.accent, AccentRole::warning);
    EXPECT_EQ(row.relativeTime, "2h");
    EXPECT_TRUE(row.isCard);
    EXPECT_TRUE(row.isPending);
    EXPECT_EQ(row.accentHex, "#AABBCC");
    ASSERT_EQ(row.images.size(), 1u);
    EXPECT_EQ(row.images[0].id, 1u);
}

TEST(InboxRows, InboxListsEveryUpdateBySeqWithItsChannelsReadMark) {
    Inbox inbox({channelInbox("a",
                              {notification("a", 5, {}, "2024-05-01T11:00:00Z"),
                               notification("a", 3, {}, "2024-05-01T11:30:00Z")},
                              4, {5}),
                 channelInbox("b",
                              {notification("b", 7, {}, "2024-05-01T09:00:00Z"),
                               notification("b", 5, {}, "2024-05-01T09:00:00Z")},
                              5)});
    const InboxDescriptor list = Presentation::inbox(inbox, at("2024-05-01T12:00:00Z"), berlin);
    // seq descending across channels, not by timestamp; dismissed a-5 stays.
    EXPECT_EQ(ids(list.rows), (Strings{"b-7", "a-5", "b-5", "a-3"}));
    EXPECT_TRUE(list.rows[1].isUnread);
    EXPECT_FALSE(list.rows[2].isUnread);
    EXPECT_EQ(list.unreadBadge, "2");

    const InboxDescriptor empty = Presentation::inbox(Inbox(), at("2024-05-01T12:00:00Z"), berlin);
    EXPECT_TRUE(empty.isEmpty);
    EXPECT_EQ(empty.unreadBadge, std::nullopt);
}

TEST(InboxRows, UpdatesSharingAnIdEachKeepTheirOwnRow) {
    Notification first = notification("a", 3, {}, "2024-05-01T11:00:00Z");
    Notification second = notification("b", 2, {}, "2024-05-01T11:00:00Z");
    first.id = second.id = "dup";
    second.title = "second";
    const Inbox inbox({channelInbox("a", {first}, 0), channelInbox("b", {second}, 2)});
    const InboxDescriptor list = Presentation::inbox(inbox, at("2024-05-01T12:00:00Z"), berlin);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_TRUE(list.rows[0].isUnread);
    EXPECT_EQ(list.rows[1].title, "second");
    EXPECT_FALSE(list.rows[1].isUnread);
}

} // namespace
