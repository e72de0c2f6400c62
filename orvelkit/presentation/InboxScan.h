#pragma once

// Shared by the presentation functions that read every update of the inbox:
// one pass that gathers what they need into a compact list (each timestamp
// read once, each status classified once, each update's channel entry found
// once), the newest-first order over that list, and the source an update
// belongs to.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/AgentRow.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/time/Date.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace OrvelKit::Presentation {

// The agent shown for an update: its sender when present and not empty,
// otherwise its channel.
inline std::string_view agentName(const OrvelProtocol::Notification& notification) {
    if (notification.sender && !notification.sender->empty()) {
        return *notification.sender;
    }
    return notification.channel;
}

// The source of an update (an agent on a channel), without building its key.
// Two sources are equal exactly when their keys are, so grouping by SourceRef
// gives the same groups as grouping by the key text.
struct SourceRef {
    std::string_view channel;
    std::string_view agent;

    explicit SourceRef(const OrvelProtocol::Notification& notification)
        : channel(notification.channel), agent(agentName(notification)) {}

    // The channel, the unit separator U+001F, and the agent.
    std::string key() const;

    bool operator==(const SourceRef& other) const;
};

// Hashes the key text without building it.
struct SourceRefHash {
    std::size_t operator()(const SourceRef& source) const;
};

// An update of the inbox and what the presentation functions read of it.
struct ScannedNotification {
    static constexpr std::int64_t undated = std::numeric_limits<std::int64_t>::min();

    const OrvelProtocol::Notification* notification = nullptr;
    // The channel entry named by the update's `channel`, or null.
    const ChannelInbox* channel = nullptr;
    // The timestamp in microseconds since the epoch, or `undated`.
    std::int64_t microseconds = undated;
    std::uint64_t seq = 0;
    // Position in the channel-by-channel listing of the inbox.
    std::uint64_t listingIndex = 0;
    // The update's source, as an index into `InboxScan::sources`.
    std::size_t source = 0;
    // The status read as a recognised value (`info` for anything else).
    OrvelProtocol::Status status = OrvelProtocol::Status::info;

    bool hasDate() const { return microseconds != undated; }
    std::optional<Date> date() const {
        if (!hasDate()) {
            return std::nullopt;
        }
        return Date::fromMicrosecondsSinceEpoch(microseconds);
    }
    // Unread unless the update's channel has an entry whose read mark covers it.
    bool isUnread() const { return channel == nullptr || channel->lastReadSeq() < seq; }
    // Dismissed when the update's channel has an entry that records it.
    bool isDismissed() const {
        return channel != nullptr && !channel->dismissedSeqs().empty() && channel->isDismissed(seq);
    }
};

// The scanned updates of an inbox and the sources they come from.
struct InboxScan {
    // Channel by channel in stored order.
    std::vector<ScannedNotification> notifications;
    // Every source once, in order of first appearance in `notifications`.
    std::vector<SourceRef> sources;
};

// Every update of the inbox, channel by channel in stored order, with its
// source. Pointers are valid while the inbox is unchanged.
InboxScan scanInbox(const Inbox& inbox);

// The same, and the row of every update (`scannedRow`) in `rows`, in the same
// order: one pass for callers that need both.
InboxScan scanInbox(const Inbox& inbox, Date now, std::vector<AgentRow>& rows);

// Newest-first order: the later timestamp first, updates whose timestamp
// cannot be read last; equal timestamps (and undated updates among
// themselves) by `seq` descending, then in the order of `Inbox::all`.
inline bool newerThan(const ScannedNotification& a, const ScannedNotification& b) {
    if (a.microseconds != b.microseconds) {
        return a.microseconds > b.microseconds;
    }
    if (a.seq != b.seq) {
        return a.seq > b.seq;
    }
    return a.listingIndex < b.listingIndex;
}

// Positions into `notifications` in newest-first order.
std::vector<std::size_t> newestFirstOrder(const std::vector<ScannedNotification>& notifications);

// The recognised status of a status text; absent for a missing or
// unrecognised one.
std::optional<OrvelProtocol::Status> recognisedStatus(const std::optional<std::string>& status);

// An update's age as `relativeTime` writes it, from an already read timestamp
// (empty when there is none).
std::string ageText(std::optional<Date> created, Date now);

// The row of a scanned update, exactly as `agentRow` builds it.
AgentRow scannedRow(const ScannedNotification& item, Date now);

} // namespace OrvelKit::Presentation
