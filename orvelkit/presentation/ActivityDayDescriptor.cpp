#include "orvelkit/presentation/ActivityDayDescriptor.h"

#include "orvelkit/presentation/InboxScan.h"
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

std::vector<ActivityDayDescriptor> activityDays(const Inbox& inbox, Date now,
                                                const Calendar& calendar) {
    const InboxScan scan = scanInbox(inbox);
    const std::vector<std::size_t> order = newestFirstOrder(scan.notifications);

    std::vector<ActivityDayDescriptor> days;
    // Day start to its position in `days`, for the rare update that does not
    // fall on the day of the update before it.
    std::map<std::int64_t, std::size_t> dayIndex;
    // Newest first, consecutive updates mostly share a day; the bounds of the
    // current one spare asking the calendar for every update.
    std::int64_t dayBegin = 0;
    std::int64_t dayEnd = 0;
    std::size_t current = 0;
    for (const std::size_t position : order) {
        const ScannedNotification& scanned = scan.notifications[position];
        if (!scanned.hasDate()) {
            // Undated updates sort last.
            break;
        }
        const std::int64_t instant = scanned.microseconds;
        if (days.empty() || instant < dayBegin || instant >= dayEnd) {
            const Date date = *scanned.date();
            const Date start = calendar.startOfDay(date);
            const auto [found, isNew] =
                dayIndex.try_emplace(start.microsecondsSinceEpoch(), days.size());
            if (isNew) {
                days.push_back(ActivityDayDescriptor{start, {}});
            }
            current = found->second;
            dayBegin = start.microsecondsSinceEpoch();
            // The next day's start bounds this day; without one (at the ends
            // of the calendar's range) only this instant is known to belong.
            const std::optional<Date> next = calendar.addingDays(1, start);
            const Date nextStart = next ? calendar.startOfDay(*next) : date;
            dayEnd = nextStart > date ? nextStart.microsecondsSinceEpoch() : instant + 1;
            if (dayBegin > instant) {
                dayBegin = instant;
            }
        }
        const OrvelProtocol::Notification& notification = *scanned.notification;
        days[current].items.push_back(ActivityItemDescriptor{
            .id = notification.id,
            .channel = notification.channel,
            .agent = std::string(agentName(notification)),
            .summary = notification.title,
            .createdAt = *scanned.date(),
            .relativeTime = relativeTime(scanned.date(), now),
            .dot = statusDot(scanned.status),
            .isUnread = scanned.isUnread(),
        });
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const ActivityDayDescriptor& a, const ActivityDayDescriptor& b) {
                         return a.date > b.date;
                     });
    return days;
}

} // namespace Presentation
} // namespace OrvelKit
