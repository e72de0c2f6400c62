#include "orvelkit/presentation/Triage.h"

#include "orvelkit/presentation/InboxScan.h"
#include "orvelkit/presentation/PresentationHelpers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_set>

namespace OrvelKit::Presentation {

namespace {

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
    // Each row is built once, in the order the inbox stores the updates (a
    // walk through memory rather than a jump between channels for every
    // row). The row list and the groups share those rows and name theirs by
    // position.
    auto rows = std::make_shared<std::vector<AgentRow>>();
    const InboxScan scan = scanInbox(inbox, now, *rows);
    const std::vector<ScannedNotification>& scanned = scan.notifications;
    const std::size_t count = scanned.size();
    std::shared_ptr<const std::vector<AgentRow>> shared = std::move(rows);

    // The source of each update, compact for the walks in newest-first order.
    std::vector<std::uint32_t> sourceOf(count);
    for (std::size_t index = 0; index < count; ++index) {
        sourceOf[index] = static_cast<std::uint32_t>(scanned[index].source);
    }

    // order[position] = the scanned update at that position, newest first.
    const std::vector<std::size_t> order = newestFirstOrder(scanned);
    std::vector<std::uint32_t> newestFirst(order.begin(), order.end());

    // One group per source, in order of each source's first (newest) row.
    constexpr std::size_t noGroup = static_cast<std::size_t>(-1);
    std::vector<std::size_t> groupOfSource(scan.sources.size(), noGroup);
    std::vector<std::uint32_t> firstRows;
    std::vector<std::uint32_t> groupSizes;
    for (const std::uint32_t index : newestFirst) {
        const std::uint32_t source = sourceOf[index];
        if (groupOfSource[source] == noGroup) {
            groupOfSource[source] = groupSizes.size();
            firstRows.push_back(index);
            groupSizes.push_back(0);
        }
        ++groupSizes[groupOfSource[source]];
    }
    std::vector<std::vector<std::uint32_t>> members(groupSizes.size());
    for (std::size_t group = 0; group < groupSizes.size(); ++group) {
        members[group].reserve(groupSizes[group]);
    }
    for (const std::uint32_t index : newestFirst) {
        members[groupOfSource[sourceOf[index]]].push_back(index);
    }

    TriagedInbox result;
    result.activityGroups.reserve(members.size());
    for (std::size_t group = 0; group < members.size(); ++group) {
        const std::uint32_t first = firstRows[group];
        result.activityGroups.push_back(
            ActivityGroup{.id = scan.sources[sourceOf[first]].key(),
                          .agent = (*shared)[first].agent,
                          .rows = AgentRowList(shared, std::move(members[group]))});
    }
    result.rows = AgentRowList(std::move(shared), std::move(newestFirst));
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
