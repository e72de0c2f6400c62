#pragma once

// Small hand-made records for tests and benchmarks. Only the required fields
// are set; a test sets whatever else it looks at on the returned value.
//
//     auto deploy = OrvelTest::notification("ch-ops", 4, "need");
//     deploy.urgency = "critical";
//     auto inbox = OrvelKit::Inbox({OrvelTest::channelInbox("ch-ops", {deploy})});
//
// For large or realistic data use RecordGenerator instead.

#include "orvelkit/inbox/ChannelInbox.h"
#include "orvelkit/protocol/Protocol.h"
#include "orvelkit/time/Date.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace OrvelTest {

// The time every record is created at unless a test says otherwise.
inline constexpr const char* defaultCreatedAt = "2026-12-06T09:00:00Z";

// A date from an internet timestamp; the test fails loudly if it does not read.
OrvelKit::Date at(const std::string& timestamp);

// An update with id "<channel>-<seq>" and title "Update <seq>".
inline OrvelProtocol::Notification notification(std::string channel, std::uint64_t seq,
                                                std::optional<std::string> status = std::nullopt,
                                                std::string createdAt = defaultCreatedAt) {
    OrvelProtocol::Notification note;
    note.id = channel + "-" + std::to_string(seq);
    note.title = "Update " + std::to_string(seq);
    note.channel = std::move(channel);
    note.seq = seq;
    note.status = std::move(status);
    note.createdAt = std::move(createdAt);
    return note;
}

// A card update with id "<channel>-card-<cardSeq>" to card `cardKey`; the
// operation is an empty snapshot.
inline OrvelProtocol::PersistentCardUpdate cardUpdate(std::string channel, std::uint64_t cardSeq,
                                                      std::string cardKey = "tickets",
                                                      std::string createdAt = defaultCreatedAt) {
    OrvelProtocol::PersistentCardUpdate update;
    update.id = channel + "-card-" + std::to_string(cardSeq);
    update.updateId = update.id;
    update.channel = std::move(channel);
    update.cardSeq = cardSeq;
    update.cardKey = std::move(cardKey);
    update.createdAt = std::move(createdAt);
    update.operation.kind = "snapshot";
    return update;
}

// `note` as sent by `sender`.
inline OrvelProtocol::Notification sentBy(std::optional<std::string> sender,
                                          OrvelProtocol::Notification note) {
    note.sender = std::move(sender);
    return note;
}

// What a sync answer says of one channel; its latest sequence numbers are the
// highest of the records it carries.
inline OrvelProtocol::ChannelSync
channelSync(std::string channel, std::vector<OrvelProtocol::Notification> notes = {},
            std::vector<std::uint64_t> dismissed = {},
            std::vector<OrvelProtocol::PersistentCardUpdate> cards = {}) {
    OrvelProtocol::ChannelSync record;
    record.channel = std::move(channel);
    for (const auto& note : notes) {
        record.latestSeq = std::max(record.latestSeq, note.seq);
    }
    for (const auto& card : cards) {
        record.latestCardSeq = std::max(record.latestCardSeq, card.cardSeq);
    }
    record.notifications = std::move(notes);
    record.dismissedSeqs = std::move(dismissed);
    record.cardUpdates = std::move(cards);
    return record;
}

// A local channel, unnamed and not owned, with its updates and card updates.
inline OrvelKit::ChannelInbox
channelInbox(std::string id, std::vector<OrvelProtocol::Notification> notes = {},
             std::uint64_t lastReadSeq = 0, OrvelKit::SequenceSet dismissed = {},
             std::vector<OrvelProtocol::PersistentCardUpdate> cards = {}) {
    return OrvelKit::ChannelInbox(std::move(id), std::nullopt, false, std::move(notes),
                                  std::move(cards), lastReadSeq, 0, 0, std::move(dismissed));
}

// The ids of rows, updates or cards, in their order.
template <class List>
std::vector<std::string> ids(const List& list) {
    std::vector<std::string> result;
    for (const auto& item : list) {
        result.push_back(item.id);
    }
    return result;
}

// The sequence numbers of a list of updates, in its order.
template <class List>
std::vector<std::uint64_t> seqs(const List& list) {
    std::vector<std::uint64_t> result;
    for (const auto& item : list) {
        result.push_back(item.seq);
    }
    return result;
}

} // namespace OrvelTest
