#include "orvelkit/presentation/DeliveryTiming.h"

#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/TextTrimming.h"

#include <algorithm>
#include <string_view>

namespace OrvelKit::Presentation {

namespace {

constexpr int morningHour = 8;

// Compares `text` with a lower-case ASCII keyword, ignoring the case of ASCII
// letters. (No other character lower-cases to one of the keywords' letters.)
bool equalsKeyword(std::string_view text, std::string_view keyword) {
    if (text.size() != keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != keyword[i]) {
            return false;
        }
    }
    return true;
}

// Builds the user's current calendar on first request only, so that updates
// without a calendar-relative `deliverWhen` never pay for one.
class LazyCurrentCalendar {
public:
    const Calendar& operator()() {
        if (!calendar_) {
            calendar_.emplace(Calendar::current());
        }
        return *calendar_;
    }

private:
    std::optional<Calendar> calendar_;
};

class FixedCalendar {
public:
    explicit FixedCalendar(const Calendar& calendar) : calendar_(calendar) {}
    const Calendar& operator()() const { return calendar_; }

private:
    const Calendar& calendar_;
};

template <class CalendarSource>
std::optional<Date> surfaceTimeFrom(const OrvelProtocol::Notification& notification,
                                    CalendarSource&& calendar) {
    if (!notification.deliverWhen) {
        return std::nullopt;
    }
    const std::string_view when = trimmingWhitespaceAndNewlines(*notification.deliverWhen);
    if (when.empty() || equalsKeyword(when, "immediately") || equalsKeyword(when, "best_effort")) {
        return std::nullopt;
    }
    if (equalsKeyword(when, "morning")) {
        const std::optional<Date> created = parseISO(notification.createdAt);
        if (!created) {
            return std::nullopt;
        }
        return nextMorning(*created, calendar());
    }
    if (equalsKeyword(when, "next_day")) {
        const std::optional<Date> created = parseISO(notification.createdAt);
        if (!created) {
            return std::nullopt;
        }
        const Calendar& cal = calendar();
        const std::optional<Date> nextDay = cal.addingDays(1, cal.startOfDay(*created));
        if (!nextDay) {
            return std::nullopt;
        }
        return cal.settingHour(morningHour, *nextDay);
    }
    return parseISO(when);
}

template <class CalendarSource>
bool isPendingFrom(const OrvelProtocol::Notification& notification, Date now,
                   CalendarSource&& calendar) {
    const std::optional<Date> surface = surfaceTimeFrom(notification, calendar);
    return surface && *surface > now;
}

template <class CalendarSource>
std::vector<const OrvelProtocol::Notification*>
bannerableFrom(const OrvelProtocol::SyncResponse& response,
               const std::map<std::string, std::uint64_t>& seenCursors, Date now,
               CalendarSource&& calendar) {
    std::vector<const OrvelProtocol::Notification*> selected;
    for (const OrvelProtocol::ChannelSync& record : response.channels) {
        const auto cursor = seenCursors.find(record.channel);
        const std::uint64_t seen = cursor == seenCursors.end() ? 0 : cursor->second;
        for (const OrvelProtocol::Notification& notification : record.notifications) {
            if (notification.seq > seen && !isPendingFrom(notification, now, calendar)) {
                selected.push_back(&notification);
            }
        }
    }
    std::stable_sort(selected.begin(), selected.end(),
                     [](const auto* a, const auto* b) { return a->seq < b->seq; });
    return selected;
}

std::vector<OrvelProtocol::Notification>
copies(const std::vector<const OrvelProtocol::Notification*>& selected) {
    std::vector<OrvelProtocol::Notification> result;
    result.reserve(selected.size());
    for (const auto* notification : selected) {
        result.push_back(*notification);
    }
    return result;
}

} // namespace

std::optional<Date> nextMorning(Date after, const Calendar& calendar) {
    const Date dayStart = calendar.startOfDay(after);
    if (const std::optional<Date> sameDay = calendar.settingHour(morningHour, dayStart);
        sameDay && *sameDay > after) {
        return sameDay;
    }
    const std::optional<Date> nextDay = calendar.addingDays(1, dayStart);
    if (!nextDay) {
        return std::nullopt;
    }
    return calendar.settingHour(morningHour, *nextDay);
}

std::optional<Date> surfaceTime(const OrvelProtocol::Notification& notification,
                                const Calendar& calendar) {
    return surfaceTimeFrom(notification, FixedCalendar(calendar));
}

bool isPending(const OrvelProtocol::Notification& notification, Date now) {
    return isPendingFrom(notification, now, LazyCurrentCalendar());
}

bool isPending(const OrvelProtocol::Notification& notification, Date now,
               const Calendar& calendar) {
    return isPendingFrom(notification, now, FixedCalendar(calendar));
}

std::vector<OrvelProtocol::Notification>
bannerable(const OrvelProtocol::SyncResponse& response,
           const std::map<std::string, std::uint64_t>& seenCursors, Date now) {
    return copies(bannerableFrom(response, seenCursors, now, LazyCurrentCalendar()));
}

std::vector<OrvelProtocol::Notification>
bannerable(const OrvelProtocol::SyncResponse& response,
           const std::map<std::string, std::uint64_t>& seenCursors, Date now,
           const Calendar& calendar) {
    return copies(bannerableRefs(response, seenCursors, now, calendar));
}

std::vector<const OrvelProtocol::Notification*>
bannerableRefs(const OrvelProtocol::SyncResponse& response,
               const std::map<std::string, std::uint64_t>& seenCursors, Date now,
               const Calendar& calendar) {
    return bannerableFrom(response, seenCursors, now, FixedCalendar(calendar));
}

} // namespace OrvelKit::Presentation
