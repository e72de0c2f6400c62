#include "orvelkit/presentation/ActivityDayDescriptor.h"

#include "orvelkit/presentation/InboxScan.h"
#include "orvelkit/presentation/NaturalMergeSort.h"
#include "orvelkit/presentation/PresentationHelpers.h"

#include <algorithm>
#include <map>

namespace OrvelKit {

namespace {

template <class Predicate>
std::size_t countItems(const std::vector<ActivityItemDescriptor>& items, Predicate predicate) {
    return static_cast<std::size_t>(std::count_if(items.begin(), items.end(), predicate));
}

} // namespace

std::size_t ActivityDayDescriptor::attentionCount() const {
    return countItems(items, [](const ActivityItemDescriptor& item) {
        return item.dot == StatusDot::need || item.dot == StatusDot::failed;
    });
}

std::size_t ActivityDayDescriptor::completedCount() const {
    return countItems(
        items, [](const ActivityItemDescriptor& item) { return item.dot == StatusDot::done; });
}

std::size_t ActivityDayDescriptor::runningCount() const {
    return countItems(
        items, [](const ActivityItemDescriptor& item) { return item.dot == StatusDot::running; });
}

namespace Presentation {

namespace {

// How many records ahead a pass asks for their texts.
constexpr std::size_t prefetchDistance = 8;

// The updates of the inbox whose timestamp reads, channel by channel in
// stored order, as triage's newest-first order needs them. Undated updates
// would sort last and are never shown, so they are left out here already.
std::vector<ScannedNotification> datedNotifications(const Inbox& inbox) {
    std::size_t total = 0;
    for (const ChannelInbox& entry : inbox.channels()) {
        total += entry.notifications().size();
    }
    std::vector<ScannedNotification> dated;
    dated.reserve(total);
    std::uint64_t listingIndex = 0;
    for (const ChannelInbox& entry : inbox.channels()) {
        const auto& notifications = entry.notifications();
        for (std::size_t at = 0; at < notifications.size(); ++at) {
            // The records' texts live apart from them; asking for the next
            // ones early overlaps the waits for memory.
            if (at + prefetchDistance < notifications.size()) {
                __builtin_prefetch(notifications[at + prefetchDistance].createdAt.data());
            }
            const OrvelProtocol::Notification& notification = notifications[at];
            const std::uint64_t position = listingIndex++;
            const std::optional<Date> date = parseISO(notification.createdAt);
            if (!date) {
                continue;
            }
            ScannedNotification item;
            item.notification = &notification;
            // Channel ids are unique in an inbox, so the entry holding an
            // update of its own channel is the entry for that channel.
            item.channel = notification.channel == entry.channel()
                               ? &entry
                               : inbox.channel(notification.channel);
            item.microseconds = date->microsecondsSinceEpoch();
            item.seq = notification.seq;
            item.listingIndex = position;
            item.status =
                recognisedStatus(notification.status).value_or(OrvelProtocol::Status::info);
            dated.push_back(item);
        }
    }
    return dated;
}

// Finds the day of each instant, asking the calendar only when an instant
// leaves the day of the one before (newest first, most share a day).
class DayFinder {
public:
    explicit DayFinder(const Calendar& calendar) : calendar_(calendar) {}

    Date dayOf(std::int64_t instant) {
        if (!known_ || instant < begin_ || instant >= end_) {
            const Date date = Date::fromMicrosecondsSinceEpoch(instant);
            start_ = calendar_.startOfDay(date);
            // The next day's start bounds this day; where the calendar cannot
            // tell (at the ends of its range) only this instant is known.
            const std::optional<Date> next = calendar_.addingDays(1, start_);
            const Date nextStart = next ? calendar_.startOfDay(*next) : date;
            const bool bounded = start_ <= date && nextStart > date;
            begin_ = bounded ? start_.microsecondsSinceEpoch() : instant;
            end_ = bounded ? nextStart.microsecondsSinceEpoch() : instant + 1;
            known_ = true;
        }
        return start_;
    }

private:
    const Calendar& calendar_;
    bool known_ = false;
    std::int64_t begin_ = 0;
    std::int64_t end_ = 0;
    Date start_;
};

} // namespace

std::vector<ActivityDayDescriptor> activityDays(const Inbox& inbox, Date now,
                                                const Calendar& calendar) {
    std::vector<ScannedNotification> dated = datedNotifications(inbox);
    naturalMergeSort(dated, newerThan);

    // First the day of every update, so that each day's list is allocated once.
    std::vector<ActivityDayDescriptor> days;
    std::vector<std::size_t> itemCounts;
    std::vector<std::size_t> dayOfItem;
    dayOfItem.reserve(dated.size());
    std::map<std::int64_t, std::size_t> dayIndex;
    DayFinder finder(calendar);
    for (const ScannedNotification& scanned : dated) {
        const Date start = finder.dayOf(scanned.microseconds);
        std::size_t day = days.size() - 1;
        if (days.empty() || days.back().date != start) {
            const auto [found, isNew] =
                dayIndex.try_emplace(start.microsecondsSinceEpoch(), days.size());
            if (isNew) {
                days.push_back(ActivityDayDescriptor{start, {}});
                itemCounts.push_back(0);
            }
            day = found->second;
        }
        dayOfItem.push_back(day);
        ++itemCounts[day];
    }
    for (std::size_t day = 0; day < days.size(); ++day) {
        days[day].items.reserve(itemCounts[day]);
    }

    for (std::size_t k = 0; k < dated.size(); ++k) {
        // Newest first jumps around the inbox: fetch the records a few
        // items ahead, then their texts.
        if (k + 2 * prefetchDistance < dated.size()) {
            const OrvelProtocol::Notification& far = *dated[k + 2 * prefetchDistance].notification;
            __builtin_prefetch(&far.id);
            __builtin_prefetch(&far.sender);
            __builtin_prefetch(&far.title);
        }
        if (k + prefetchDistance < dated.size()) {
            const OrvelProtocol::Notification& ahead = *dated[k + prefetchDistance].notification;
            __builtin_prefetch(ahead.id.data());
            __builtin_prefetch(ahead.title.data());
        }
        const ScannedNotification& scanned = dated[k];
        const OrvelProtocol::Notification& notification = *scanned.notification;
        const Date createdAt = Date::fromMicrosecondsSinceEpoch(scanned.microseconds);
        // Filled in place: an item is five strings, too many to build and move.
        ActivityItemDescriptor& item = days[dayOfItem[k]].items.emplace_back();
        item.id = notification.id;
        // The same text as the update's own, from the entry, which is at hand.
        item.channel = scanned.channel ? scanned.channel->channel() : notification.channel;
        item.agent = agentName(notification);
        item.summary = notification.title;
        item.createdAt = createdAt;
        item.relativeTime = relativeTime(createdAt, now);
        item.dot = statusDot(scanned.status);
        item.isUnread = scanned.isUnread();
    }
    // Newest first, days come in descending order already; sorting keeps
    // that true whatever the calendar does.
    std::stable_sort(days.begin(), days.end(),
                     [](const ActivityDayDescriptor& a, const ActivityDayDescriptor& b) {
                         return a.date > b.date;
                     });
    return days;
}

} // namespace Presentation
} // namespace OrvelKit
