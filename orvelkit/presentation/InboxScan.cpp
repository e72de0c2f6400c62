#include "orvelkit/presentation/InboxScan.h"

#include "orvelkit/presentation/NaturalMergeSort.h"
#include "orvelkit/presentation/PresentationHelpers.h"

#include <algorithm>
#include <unordered_map>

namespace OrvelKit::Presentation {

namespace {

// How many records ahead a pass over the inbox asks for their texts.
constexpr std::size_t prefetchDistance = 8;

std::size_t updateCount(const Inbox& inbox) {
    std::size_t total = 0;
    for (const ChannelInbox& entry : inbox.channels()) {
        total += entry.notifications().size();
    }
    return total;
}

// One pass over every update of the inbox, channel by channel in stored
// order; `visit` sees each update once it is scanned, and reads its id and
// title when `readsTexts`.
template <bool readsTexts, class Visit>
InboxScan scan(const Inbox& inbox, Visit&& visit) {
    InboxScan scan;
    scan.notifications.reserve(updateCount(inbox));
    std::unordered_map<SourceRef, std::size_t, SourceRefHash> sourceIndex;
    // The sources of a channel's own updates differ only by agent; most
    // lookups are answered by the agent alone.
    std::unordered_map<std::string_view, std::size_t> ownSources;
    std::uint64_t listingIndex = 0;
    for (const ChannelInbox& entry : inbox.channels()) {
        ownSources.clear();
        const auto& notifications = entry.notifications();
        for (std::size_t position = 0; position < notifications.size(); ++position) {
            // The records' texts live apart from them; asking for the next
            // ones early overlaps the waits for memory.
            if (position + prefetchDistance < notifications.size()) {
                const OrvelProtocol::Notification& ahead =
                    notifications[position + prefetchDistance];
                __builtin_prefetch(ahead.createdAt.data());
                if constexpr (readsTexts) {
                    __builtin_prefetch(ahead.id.data());
                    __builtin_prefetch(ahead.title.data());
                }
            }
            const OrvelProtocol::Notification& notification = notifications[position];
            ScannedNotification item;
            item.notification = &notification;
            // Channel ids are unique in an inbox, so the entry holding an
            // update of its own channel is the entry for that channel.
            const bool own = notification.channel == entry.channel();
            item.channel = own ? &entry : inbox.channel(notification.channel);
            if (const std::optional<Date> date = parseISO(notification.createdAt)) {
                item.microseconds = date->microsecondsSinceEpoch();
            }
            item.seq = notification.seq;
            item.listingIndex = listingIndex++;
            const SourceRef source(notification);
            const auto intern = [&] {
                const auto [found, isNew] = sourceIndex.try_emplace(source, scan.sources.size());
                if (isNew) {
                    scan.sources.push_back(source);
                }
                return found->second;
            };
            if (own) {
                const auto cached = ownSources.find(source.agent);
                item.source = cached != ownSources.end()
                                  ? cached->second
                                  : ownSources.emplace(source.agent, intern()).first->second;
            } else {
                item.source = intern();
            }
            item.status =
                recognisedStatus(notification.status).value_or(OrvelProtocol::Status::info);
            scan.notifications.push_back(item);
            visit(scan.notifications.back());
        }
    }
    return scan;
}

} // namespace

InboxScan scanInbox(const Inbox& inbox) {
    return scan<false>(inbox, [](const ScannedNotification&) {});
}

InboxScan scanInbox(const Inbox& inbox, Date now, std::vector<AgentRow>& rows) {
    rows.clear();
    rows.reserve(updateCount(inbox));
    return scan<true>(
        inbox, [&](const ScannedNotification& item) { rows.push_back(scannedRow(item, now)); });
}

std::vector<std::size_t> newestFirstOrder(const std::vector<ScannedNotification>& notifications) {
    // Sorting the keys themselves keeps the comparisons in contiguous memory.
    struct Key {
        std::int64_t microseconds;
        std::uint64_t seq;
        std::uint64_t listingIndex;
        std::size_t position;
    };
    const auto newer = [](const Key& a, const Key& b) {
        if (a.microseconds != b.microseconds) {
            return a.microseconds > b.microseconds;
        }
        if (a.seq != b.seq) {
            return a.seq > b.seq;
        }
        return a.listingIndex < b.listingIndex;
    };
    const std::size_t count = notifications.size();
    std::vector<Key> keys;
    keys.reserve(count);
    for (std::size_t position = 0; position < count; ++position) {
        const ScannedNotification& item = notifications[position];
        keys.push_back({item.microseconds, item.seq, item.listingIndex, position});
    }
    // The listing index makes the order total.
    naturalMergeSort(keys, newer);

    std::vector<std::size_t> order;
    order.reserve(count);
    for (const Key& key : keys) {
        order.push_back(key.position);
    }
    return order;
}

std::optional<OrvelProtocol::Status> recognisedStatus(const std::optional<std::string>& status) {
    if (!status) {
        return std::nullopt;
    }
    return Json::fromText<OrvelProtocol::Status>(*status);
}

std::string ageText(std::optional<Date> created, Date now) {
    return relativeTime(created, now);
}

AgentRow scannedRow(const ScannedNotification& item, Date now) {
    const OrvelProtocol::Notification& notification = *item.notification;
    const StatusDot dot = statusDot(item.status);
    return AgentRow{
        .id = notification.id,
        .agent = std::string(agentName(notification)),
        .summary = notification.title,
        .relativeTime = ageText(item.date(), now),
        .dot = dot,
        .section = dot == StatusDot::need ? InboxSection::needsYou : InboxSection::away,
        .isUnread = item.isUnread(),
    };
}

std::string SourceRef::key() const {
    std::string key;
    key.reserve(channel.size() + 1 + agent.size());
    key.append(channel);
    key.push_back('\x1F');
    key.append(agent);
    return key;
}

bool SourceRef::operator==(const SourceRef& other) const {
    if (channel.size() == other.channel.size()) {
        return channel == other.channel && agent == other.agent;
    }
    // Split at different places: compare the keys as whole texts.
    if (channel.size() + agent.size() != other.channel.size() + other.agent.size()) {
        return false;
    }
    const auto at = [](const SourceRef& source, std::size_t index) {
        if (index < source.channel.size()) {
            return source.channel[index];
        }
        if (index == source.channel.size()) {
            return '\x1F';
        }
        return source.agent[index - source.channel.size() - 1];
    };
    const std::size_t length = channel.size() + 1 + agent.size();
    for (std::size_t index = 0; index < length; ++index) {
        if (at(*this, index) != at(other, index)) {
            return false;
        }
    }
    return true;
}

std::size_t SourceRefHash::operator()(const SourceRef& source) const {
    // FNV-1a over the key text, fed piece by piece.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    const auto feed = [&hash](std::string_view bytes) {
        for (const char byte : bytes) {
            hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ULL;
        }
    };
    feed(source.channel);
    feed(std::string_view("\x1F", 1));
    feed(source.agent);
    return static_cast<std::size_t>(hash);
}

} // namespace OrvelKit::Presentation
