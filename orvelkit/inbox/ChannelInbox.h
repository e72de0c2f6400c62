#pragma once

// The local copy of one followed channel: its updates and persistent-card
// updates, its read mark, its dismissals and the sync cursors.
//
// Updates are kept ordered by `seq` descending (newest first) and card
// updates by `cardSeq` descending, at most one per number once anything has
// been merged. Nothing here ever lowers a sequence number, removes a
// dismissal or drops a record; data leaves only with its whole channel.

#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/PersistentCard.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace OrvelKit {

// Sequence numbers of one channel, as a set.
using SequenceSet = std::set<std::uint64_t>;

class ChannelInbox {
public:
    // Sorts both lists newest first (stable; records sharing a number keep
    // their given order and are not merged into one until the first merge)
    // and raises `latestSeq` / `latestCardSeq` to the highest number in the
    // respective list. Records of other channels are kept as given.
    ChannelInbox(std::string channel, std::optional<std::string> name, bool owned,
                 std::vector<OrvelProtocol::Notification> notifications,
                 std::vector<OrvelProtocol::PersistentCardUpdate> cardUpdates,
                 std::uint64_t lastReadSeq, std::uint64_t latestSeq, std::uint64_t latestCardSeq,
                 SequenceSet dismissedSeqs);

    const std::string& channel() const { return channel_; }
    // The display name the service reported; absent until one is.
    const std::optional<std::string>& name() const { return name_; }
    // Whether the account owns the channel rather than only following it.
    bool owned() const { return owned_; }
    // Newest first: `seq` descending.
    const std::deque<OrvelProtocol::Notification>& notifications() const { return notifications_; }
    // Newest first: `cardSeq` descending.
    const std::deque<OrvelProtocol::PersistentCardUpdate>& cardUpdates() const {
        return cardUpdates_;
    }
    // Every update with `seq` at or below this is read.
    std::uint64_t lastReadSeq() const { return lastReadSeq_; }
    std::uint64_t latestSeq() const { return latestSeq_; }
    std::uint64_t latestCardSeq() const { return latestCardSeq_; }
    const SequenceSet& dismissedSeqs() const { return dismissedSeqs_; }

    // Whether `notification` lies above the read mark; dismissal plays no part.
    bool isUnread(const OrvelProtocol::Notification& notification) const;
    // How many stored updates lie above the read mark (dismissed ones count).
    std::size_t unreadCount() const;
    // The position after which the service is to report updates.
    std::uint64_t cursor() const;
    // The position after which the service is to report card updates.
    std::uint64_t cardCursor() const;

    void markAllRead();

    // Takes in pulled updates: the pulled copy replaces a stored one with the
    // same `seq`; updates of other channels are dropped, though `latestSeq`
    // still rises to the given value. True when anything changed.
    // The rvalue forms move the records they keep instead of copying them.
    bool merge(const std::vector<OrvelProtocol::Notification>& pulled,
               std::optional<std::uint64_t> latestSeq);
    bool merge(std::vector<OrvelProtocol::Notification>&& pulled,
               std::optional<std::uint64_t> latestSeq);
    // The same for card updates, keyed by `cardSeq`.
    bool mergeCardUpdates(const std::vector<OrvelProtocol::PersistentCardUpdate>& pulled,
                          std::optional<std::uint64_t> latestCardSeq);
    bool mergeCardUpdates(std::vector<OrvelProtocol::PersistentCardUpdate>&& pulled,
                          std::optional<std::uint64_t> latestCardSeq);

    // Applies one channel's sync record: merges both lists, advances the read
    // mark, adds the dismissals, takes a non-empty `name` and a present
    // `owned`; absent (or empty) values leave the stored ones alone. True when
    // anything changed. The lists are taken by value: move them in to keep
    // their records without copying them.
    bool applySync(std::vector<OrvelProtocol::Notification> notifications, std::uint64_t latestSeq,
                   std::uint64_t readSeq,
                   std::vector<OrvelProtocol::PersistentCardUpdate> cardUpdates,
                   std::uint64_t latestCardSeq, const std::optional<std::string>& name,
                   std::optional<bool> owned, const std::vector<std::uint64_t>& dismissedSeqs);

    void dismiss(std::uint64_t seq);
    bool isDismissed(std::uint64_t seq) const;

    // Compares every field.
    bool operator==(const ChannelInbox& other) const;

private:
    template <class Pulled>
    bool mergeNotifications(Pulled&& pulled, std::optional<std::uint64_t> latestSeq);
    template <class Pulled>
    bool mergeCards(Pulled&& pulled, std::optional<std::uint64_t> latestCardSeq);

    std::string channel_;
    std::optional<std::string> name_;
    bool owned_ = false;
    std::deque<OrvelProtocol::Notification> notifications_;
    std::deque<OrvelProtocol::PersistentCardUpdate> cardUpdates_;
    std::uint64_t lastReadSeq_ = 0;
    std::uint64_t latestSeq_ = 0;
    std::uint64_t latestCardSeq_ = 0;
    SequenceSet dismissedSeqs_;
    // Set while a list handed to the constructor still holds two records
    // with one number; the next merge collapses them.
    bool notificationsShareSeqs_ = false;
    bool cardUpdatesShareSeqs_ = false;
};

} // namespace OrvelKit
