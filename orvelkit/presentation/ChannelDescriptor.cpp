#include "orvelkit/presentation/ChannelDescriptor.h"

#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/TextTrimming.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace OrvelKit::Presentation {

namespace {

constexpr double quietAfter = 86400; // one day
constexpr double idleAfter = 129600; // 36 hours

// The name of a channel the service has not named: the first sender, newest
// update first, that is more than white space.
std::optional<std::string>
senderName(const std::deque<OrvelProtocol::Notification>& notifications) {
    for (const OrvelProtocol::Notification& notification : notifications) {
        if (!notification.sender) {
            continue;
        }
        const std::string_view trimmed = trimmingWhitespaceAndNewlines(*notification.sender);
        if (!trimmed.empty()) {
            return std::string(trimmed);
        }
    }
    return std::nullopt;
}

// Activity and detail from the newest update, if any.
void describeActivity(ChannelDescriptor& descriptor, const OrvelProtocol::Notification* newest,
                      Date now) {
    if (newest == nullptr) {
        descriptor.activity = ChannelActivity::pending;
        descriptor.detail = "Waiting for its first update";
        return;
    }
    if (!descriptor.lastActivityAt) {
        descriptor.activity = ChannelActivity::active;
        descriptor.detail = "Active";
        return;
    }
    const double elapsed = now.timeIntervalSince(*descriptor.lastActivityAt);
    // A timestamp in the future counts as just now.
    if (elapsed < quietAfter) {
        descriptor.activity = ChannelActivity::active;
        descriptor.detail = "Active";
    } else if (elapsed < idleAfter) {
        descriptor.activity = ChannelActivity::quiet;
        descriptor.detail = "Quiet";
    } else {
        descriptor.activity = ChannelActivity::idle;
        descriptor.detail = "Idle";
    }
    const std::string age = relativeTime(descriptor.lastActivityAt, now);
    descriptor.detail += age == "now" ? " \u00B7 updated now" : " \u00B7 updated " + age + " ago";
}

ChannelDescriptor describe(const std::string& id, const ChannelConfig* configured,
                           const ChannelInbox* entry, Date now) {
    ChannelDescriptor descriptor;
    descriptor.channel = id;
    const OrvelProtocol::Notification* newest = nullptr;
    if (entry == nullptr) {
        descriptor.name = id;
        descriptor.owned = configured != nullptr;
    } else {
        descriptor.owned = entry->owned();
        if (!entry->notifications().empty()) {
            newest = &entry->notifications().front();
        }
        if (entry->name()) {
            descriptor.name = *entry->name();
        } else {
            descriptor.name = senderName(entry->notifications()).value_or(id);
        }
    }
    if (newest != nullptr) {
        descriptor.lastActivityAt = parseISO(newest->createdAt);
    }
    if (configured != nullptr && configured->createdAt) {
        descriptor.createdAt = parseISO(*configured->createdAt);
    }
    describeActivity(descriptor, newest, now);
    return descriptor;
}

std::int64_t sortKey(const ChannelDescriptor& descriptor) {
    if (descriptor.lastActivityAt) {
        return descriptor.lastActivityAt->microsecondsSinceEpoch();
    }
    if (descriptor.createdAt) {
        return descriptor.createdAt->microsecondsSinceEpoch();
    }
    return std::numeric_limits<std::int64_t>::min();
}

} // namespace

std::vector<ChannelDescriptor> channels(const AppConfig& config, const Inbox& inbox, Date now) {
    std::unordered_map<std::string_view, const ChannelConfig*> configured;
    configured.reserve(config.channels.size());
    for (const ChannelConfig& entry : config.channels) {
        configured.try_emplace(entry.channel, &entry);
    }

    std::vector<ChannelDescriptor> descriptors;
    descriptors.reserve(configured.size() + inbox.channels().size());
    std::unordered_set<std::string_view> described;
    for (const ChannelConfig& entry : config.channels) {
        if (described.insert(entry.channel).second) {
            descriptors.push_back(
                describe(entry.channel, &entry, inbox.channel(entry.channel), now));
        }
    }
    for (const ChannelInbox& entry : inbox.channels()) {
        if (described.insert(entry.channel()).second) {
            descriptors.push_back(describe(entry.channel(), nullptr, &entry, now));
        }
    }

    // Ids are distinct, so the order is total and does not depend on the
    // order in which the channels were gathered.
    std::sort(descriptors.begin(), descriptors.end(),
              [](const ChannelDescriptor& a, const ChannelDescriptor& b) {
                  const std::int64_t keyA = sortKey(a);
                  const std::int64_t keyB = sortKey(b);
                  if (keyA != keyB) {
                      return keyA > keyB;
                  }
                  return a.channel < b.channel;
              });
    return descriptors;
}

std::vector<ChannelDescriptor> visibleChannels(const AppConfig& config, const Inbox& inbox,
                                               Date now, std::size_t limit) {
    constexpr std::size_t pendingShown = 2;
    std::vector<ChannelDescriptor> all = channels(config, inbox, now);
    std::vector<ChannelDescriptor> visible;
    std::size_t pending = 0;
    for (ChannelDescriptor& descriptor : all) {
        if (visible.size() == limit) {
            break;
        }
        const bool shown = descriptor.activity == ChannelActivity::pending
                               ? pending++ < pendingShown
                               : descriptor.activity != ChannelActivity::idle;
        if (shown) {
            visible.push_back(std::move(descriptor));
        }
    }
    return visible;
}

} // namespace OrvelKit::Presentation
