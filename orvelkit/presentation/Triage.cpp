#include "orvelkit/presentation/Triage.h"

#include "orvelkit/presentation/InboxScan.h"
#include "orvelkit/presentation/PresentationHelpers.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <unordered_set>

namespace OrvelKit::Presentation {

namespace {

// How many records ahead row building asks for their texts.
constexpr std::size_t rowPrefetchDistance = 8;

void count(Digest& digest, OrvelProtocol::Status status) {
    switch (status) {
    case OrvelProtocol::Status::need:
        ++digest.needYou;
        break;
    case OrvelProtocol::Status::done:
    case OrvelProtocol::Status::idle:
        ++digest.silenced;
        break;
    default:
        // Unrecognised statuses read as info and count in neither.
        break;
    }
}

Digest digestOf(const Inbox& inbox, const std::vector<ScannedNotification>& scanned) {
    Digest digest;
    // Channels with an entry are told apart by the entry (ids are unique);
    // the others by their text.
    std::vector<char> entrySeen(inbox.channels().size(), 0);
    std::unordered_set<std::string_view> otherChannels;
    for (const ScannedNotification& item : scanned) {
        if (item.channel != nullptr) {
            const auto entry = static_cast<std::size_t>(item.channel - inbox.channels().data());
            if (!entrySeen[entry]) {
                entrySeen[entry] = 1;
                ++digest.updated;
            }
        } else {
            otherChannels.insert(item.notification->channel);
        }
        count(digest, item.status);
    }
    digest.updated += otherChannels.size();
    return digest;
}

} // namespace

OrvelProtocol::Status effectiveStatus(const OrvelProtocol::Notification& notification) {
    return recognisedStatus(notification.status).value_or(OrvelProtocol::Status::info);
}

bool needsYou(const OrvelProtocol::Notification& notification) {
    return recognisedStatus(notification.status) == OrvelProtocol::Status::need;
}

std::string sourceKey(const OrvelProtocol::Notification& notification) {
    return SourceRef(notification).key();
}

AgentRow agentRow(const OrvelProtocol::Notification& notification, bool isUnread, Date now) {
    const StatusDot dot = statusDot(effectiveStatus(notification));
    return AgentRow{
        .id = notification.id,
        .agent = std::string(agentName(notification)),
        .summary = notification.title,
        .relativeTime = relativeTime(notification.createdAt, now),
        .dot = dot,
        .section = dot == StatusDot::need ? InboxSection::needsYou : InboxSection::away,
        .isUnread = isUnread,
    };
}

TriagedInbox triaged(const Inbox& inbox, Date now) {
    const InboxScan scan = scanInbox(inbox);
    const std::vector<ScannedNotification>& scanned = scan.notifications;
    const std::size_t count = scanned.size();
    // order[position] = the scanned update at that position, newest first.
    const std::vector<std::size_t> order = newestFirstOrder(scanned);

    // The records are read in that order, which jumps around memory: each
    // record is asked for well ahead, and its texts once it has arrived.
    TriagedInbox result;
    result.rows.reserve(count);
    for (std::size_t position = 0; position < count; ++position) {
        if (position + 2 * rowPrefetchDistance < count) {
            const OrvelProtocol::Notification& far =
                *scanned[order[position + 2 * rowPrefetchDistance]].notification;
            __builtin_prefetch(&far.id);
            __builtin_prefetch(&far.title);
            __builtin_prefetch(&far.sender);
        }
        if (position + rowPrefetchDistance < count) {
            const OrvelProtocol::Notification& ahead =
                *scanned[order[position + rowPrefetchDistance]].notification;
            __builtin_prefetch(ahead.id.data());
            __builtin_prefetch(ahead.title.data());
        }
        result.rows.push_back(scannedRow(scanned[order[position]], now));
    }

    // One group per source, in order of each source's first (newest) row.
    constexpr std::size_t noGroup = static_cast<std::size_t>(-1);
    std::vector<std::size_t> groupOfSource(scan.sources.size(), noGroup);
    std::vector<std::size_t> groupSizes;
    for (std::size_t position = 0; position < count; ++position) {
        const std::size_t source = scanned[order[position]].source;
        if (groupOfSource[source] == noGroup) {
            groupOfSource[source] = groupSizes.size();
            groupSizes.push_back(0);
            result.activityGroups.push_back(ActivityGroup{.id = scan.sources[source].key(),
                                                          .agent = result.rows[position].agent,
                                                          .rows = {}});
        }
        ++groupSizes[groupOfSource[source]];
    }
    for (std::size_t group = 0; group < groupSizes.size(); ++group) {
        result.activityGroups[group].rows.reserve(groupSizes[group]);
    }
    for (std::size_t position = 0; position < count; ++position) {
        const std::size_t group = groupOfSource[scanned[order[position]].source];
        result.activityGroups[group].rows.push_back(result.rows[position]);
    }

    result.digest = digestOf(inbox, scanned);
    return result;
}

Digest digest(const std::vector<OrvelProtocol::Notification>& notifications) {
    Digest digest;
    std::unordered_set<std::string_view> channels;
    for (const OrvelProtocol::Notification& notification : notifications) {
        channels.insert(notification.channel);
        count(digest, effectiveStatus(notification));
    }
    digest.updated = channels.size();
    return digest;
}

} // namespace OrvelKit::Presentation
