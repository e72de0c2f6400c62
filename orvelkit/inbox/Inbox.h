#pragma once

// The local inbox: one ChannelInbox per followed channel, and how a sync
// response is merged into it.
//
// Channel ids are unique: an inbox built from a list that repeats an id (an
// inbox file written by something else) keeps only the first entry, and no
// operation adds an entry for an id already present. Existing entries keep
// their position; new ones are appended.

#include "orvelkit/inbox/ChannelInbox.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/PersistentCard.h"
#include "orvelkit/protocol/SyncResponse.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace OrvelKit {

// Channel id to a set of that channel's sequence numbers.
using ChannelSequenceSets = std::map<std::string, SequenceSet>;
// Channel id to one sequence number of that channel.
using ChannelCursors = std::map<std::string, std::uint64_t>;

class Inbox {
public:
    Inbox() = default;
    // Keeps the order; drops any entry whose id an earlier entry already has.
    explicit Inbox(std::vector<ChannelInbox> channels);

    const std::vector<ChannelInbox>& channels() const { return channels_; }
    // The entry for `id` (exact comparison), or null. The pointer is valid
    // until the inbox next changes.
    const ChannelInbox* channel(std::string_view id) const;

    // Every channel's updates, `seq` descending across channels; records with
    // one `seq` keep channel order, then their order within the channel.
    std::vector<OrvelProtocol::Notification> all() const;
    // The same order as `all`, as pointers into this inbox (valid until it
    // next changes), for readers that need not copy.
    std::vector<const OrvelProtocol::Notification*> allRefs() const;
    // Every channel's card updates, `createdAt` descending compared as plain
    // text, then `cardSeq` descending, then channel order and list order.
    std::vector<OrvelProtocol::PersistentCardUpdate> allCardUpdates() const;
    std::vector<const OrvelProtocol::PersistentCardUpdate*> allCardUpdateRefs() const;
    std::size_t totalUnread() const;

    // Merges pulled updates into the channel, adding an empty, unnamed,
    // not-owned entry for it first when there is none.
    void merge(const std::string& channel, const std::vector<OrvelProtocol::Notification>& pulled,
               std::uint64_t latestSeq);
    void mergeCardUpdates(const std::string& channel,
                          const std::vector<OrvelProtocol::PersistentCardUpdate>& pulled,
                          std::uint64_t latestCardSeq);
    void markAllRead();

    // Merges a sync response. The response is authoritative for membership:
    // channels it does not name are removed with all their state. Records
    // then apply in response order; for an existing entry a non-empty name
    // replaces the stored one and `owned` is set from the record (absent
    // means false); a new entry takes the record's name as reported and is
    // appended. A record that repeats an id applies again to the same entry.
    // True when the inbox changed (an answer that brings nothing new leaves
    // nothing to save).
    bool applySync(const std::vector<OrvelProtocol::ChannelSync>& records);
    // The same, keeping the records' updates by moving them out of `records`
    // (their lists are left moved from) rather than copying them.
    bool applySync(std::vector<OrvelProtocol::ChannelSync>&& records);

    // Removes the channel's entry; an unknown id changes nothing.
    void remove(std::string_view channel);
    // Records a dismissal on the channel's entry; an unknown id changes nothing.
    void dismiss(std::string_view channel, std::uint64_t seq);

    // The dismissals of every channel that has any.
    ChannelSequenceSets dismissedSequences() const;
    // The local dismissals the service has not recorded, per channel, judged
    // against the dismissals a sync reported (`service`). Channels absent
    // from `service` contribute nothing, and an empty `service` yields an
    // empty result.
    ChannelSequenceSets pendingDismissals(const ChannelSequenceSets& service) const;
    // Each channel's `cursor`, the positions to sync updates from.
    ChannelCursors syncCursors() const;
    // Each channel's `cardCursor`.
    ChannelCursors cardSyncCursors() const;

    bool operator==(const Inbox& other) const = default;

private:
    template <class Records>
    bool applySyncRecords(Records&& records);
    ChannelInbox* find(std::string_view id);

    std::vector<ChannelInbox> channels_;
};

} // namespace OrvelKit
