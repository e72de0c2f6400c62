#include "orvelkit/presentation/SmartBriefing.h"

#include "orvelkit/presentation/InboxScan.h"

#include <algorithm>
#include <unordered_set>

namespace OrvelKit {

std::size_t SmartBriefing::unreadAttentionCount() const {
    return static_cast<std::size_t>(std::count_if(
        attention.begin(), attention.end(), [](const AgentRow& row) { return row.isUnread; }));
}

namespace Presentation {

namespace {

// What the briefing needs to know about one source, as positions in the
// scanned list.
struct Source {
    std::size_t newest = 0;
    // The newest two updates that are not dismissed, newest first.
    std::array<std::size_t, 2> visible{};
    std::size_t visibleCount = 0;
    bool inWindow = false;
    bool completedInWindow = false;

    void offerVisible(std::size_t index, const std::vector<ScannedNotification>& scanned) {
        const ScannedNotification& item = scanned[index];
        if (visibleCount == 0 || newerThan(item, scanned[visible[0]])) {
            visible[1] = visible[0];
            visible[0] = index;
        } else if (visibleCount == 1 || newerThan(item, scanned[visible[1]])) {
            visible[1] = index;
        }
        visibleCount = std::min<std::size_t>(visibleCount + 1, 2);
    }
};

struct Window {
    BriefingScope scope;
    Date start;
};

Window briefingWindow(BriefingPeriod period, Date periodStart, Date now,
                      std::optional<Date> lastOpenedAt) {
    if (lastOpenedAt && *lastOpenedAt >= periodStart && *lastOpenedAt < now) {
        return {BriefingScope::sinceLastVisit, *lastOpenedAt};
    }
    return {briefingScope(period), periodStart};
}

} // namespace

BriefingPeriod briefingPeriod(Date date, const Calendar& calendar) {
    const int hour = calendar.hour(date);
    if (hour >= 5 && hour <= 11) {
        return BriefingPeriod::morning;
    }
    if (hour >= 12 && hour <= 16) {
        return BriefingPeriod::afternoon;
    }
    if (hour >= 17 && hour <= 21) {
        return BriefingPeriod::evening;
    }
    return BriefingPeriod::night;
}

BriefingScope briefingScope(BriefingPeriod period) {
    switch (period) {
    case BriefingPeriod::morning:
        return BriefingScope::overnight;
    case BriefingPeriod::afternoon:
        return BriefingScope::thisMorning;
    case BriefingPeriod::evening:
        return BriefingScope::thisAfternoon;
    case BriefingPeriod::night:
        return BriefingScope::thisEvening;
    }
    return BriefingScope::overnight;
}

Date briefingPeriodStart(Date now, const Calendar& calendar) {
    int dayOffset = 0;
    int hour = 0;
    switch (briefingPeriod(now, calendar)) {
    case BriefingPeriod::morning:
        dayOffset = -1;
        hour = 18;
        break;
    case BriefingPeriod::afternoon:
        hour = 8;
        break;
    case BriefingPeriod::evening:
        hour = 12;
        break;
    case BriefingPeriod::night:
        dayOffset = calendar.hour(now) < 5 ? -1 : 0;
        hour = 17;
        break;
    }
    // Whole calendar days, so a day across a daylight-saving change keeps its
    // wall-clock hours.
    const Date today = calendar.startOfDay(now);
    const Date day = calendar.addingDays(dayOffset, today).value_or(today);
    return calendar.settingHour(hour, day).value_or(day);
}

std::vector<std::size_t> activityBuckets(std::span<const Date> dates, Date from, Date to,
                                         int count) {
    if (count < 1) {
        return {};
    }
    const double span = std::max(to.timeIntervalSince(from), 1.0);
    std::vector<std::size_t> buckets(static_cast<std::size_t>(count), 0);
    for (const Date date : dates) {
        const double fraction = std::clamp(date.timeIntervalSince(from) / span, 0.0, 0.999999);
        ++buckets[static_cast<std::size_t>(fraction * count)];
    }
    return buckets;
}

SmartBriefing smartBriefing(const Inbox& inbox, Date now, std::optional<Date> lastOpenedAt,
                            const Calendar& calendar) {
    SmartBriefing briefing;
    briefing.period = briefingPeriod(now, calendar);
    const Window window =
        briefingWindow(briefing.period, briefingPeriodStart(now, calendar), now, lastOpenedAt);
    briefing.scope = window.scope;
    const std::int64_t windowStart = window.start.microsecondsSinceEpoch();
    const std::int64_t windowEnd = now.microsecondsSinceEpoch();
    const auto dateInWindow = [&](const ScannedNotification& item) {
        return item.hasDate() && item.microseconds >= windowStart && item.microseconds <= windowEnd;
    };

    // Everything here depends on each source's newest updates and on which
    // visible updates fall in the window, so one unordered pass suffices:
    // no update needs its place in the full newest-first order.
    const InboxScan scan = scanInbox(inbox);
    const std::vector<ScannedNotification>& scanned = scan.notifications;
    // Sources appear in the scan in stored order, so each one's first update
    // is its first candidate for the newest.
    std::vector<Source> sources(scan.sources.size());
    std::vector<char> seen(scan.sources.size(), 0);
    std::vector<char> dismissed(scanned.size(), 0);
    std::vector<std::size_t> windowUpdates;
    for (std::size_t index = 0; index < scanned.size(); ++index) {
        const ScannedNotification& item = scanned[index];
        Source& source = sources[item.source];
        if (!seen[item.source]) {
            seen[item.source] = 1;
            source.newest = index;
        } else if (newerThan(item, scanned[source.newest])) {
            source.newest = index;
        }
        if (item.isDismissed()) {
            dismissed[index] = 1;
            continue;
        }
        source.offerVisible(index, scanned);
        if (dateInWindow(item)) {
            windowUpdates.push_back(index);
            source.inWindow = true;
            if (item.status == OrvelProtocol::Status::done) {
                source.completedInWindow = true;
            }
        }
    }
    // Sources in order of their newest update.
    std::sort(sources.begin(), sources.end(), [&](const Source& a, const Source& b) {
        return newerThan(scanned[a.newest], scanned[b.newest]);
    });

    // One row per source whose newest update is visible.
    std::vector<char> agentInWindow;
    for (const Source& source : sources) {
        if (dismissed[source.newest]) {
            continue;
        }
        briefing.agents.push_back(scannedRow(scanned[source.newest], now));
        agentInWindow.push_back(dateInWindow(scanned[source.newest]) ? 1 : 0);
    }

    // An info row is on the radar when its id is that of some window update.
    // Its own update usually settles that; only the others need a search.
    std::unordered_set<std::string_view> infoIdsToFind;
    for (std::size_t row = 0; row < briefing.agents.size(); ++row) {
        if (briefing.agents[row].dot == StatusDot::info && !agentInWindow[row]) {
            infoIdsToFind.insert(briefing.agents[row].id);
        }
    }
    std::unordered_set<std::string_view> infoIdsInWindow;
    if (!infoIdsToFind.empty()) {
        for (const std::size_t index : windowUpdates) {
            const std::string& id = scanned[index].notification->id;
            if (infoIdsToFind.count(id) != 0) {
                infoIdsInWindow.insert(id);
            }
        }
    }

    for (std::size_t row = 0; row < briefing.agents.size(); ++row) {
        const AgentRow& agent = briefing.agents[row];
        if (agent.dot == StatusDot::need || agent.dot == StatusDot::failed) {
            briefing.attention.push_back(agent);
        }
        if (agent.dot == StatusDot::running ||
            (agent.dot == StatusDot::info &&
             (agentInWindow[row] || infoIdsInWindow.count(agent.id) != 0))) {
            briefing.onRadar.push_back(agent);
        }
        if (agent.dot == StatusDot::running) {
            ++briefing.activeCount;
        }
    }

    for (const Source& source : sources) {
        // A visible newest update is also the newest visible one.
        if (dismissed[source.newest] || source.visibleCount < 2 ||
            !dateInWindow(scanned[source.newest])) {
            continue;
        }
        const ScannedNotification& newest = scanned[source.visible[0]];
        const StatusDot from = statusDot(scanned[source.visible[1]].status);
        const StatusDot to = statusDot(newest.status);
        if (from == to) {
            continue;
        }
        AgentRow row = scannedRow(newest, now);
        briefing.transitions.push_back(AgentTransition{.id = std::move(row.id),
                                                       .agent = std::move(row.agent),
                                                       .summary = std::move(row.summary),
                                                       .relativeTime = std::move(row.relativeTime),
                                                       .from = from,
                                                       .to = to});
    }

    std::vector<Date> windowDates;
    windowDates.reserve(windowUpdates.size());
    for (const std::size_t index : windowUpdates) {
        windowDates.push_back(Date::fromMicrosecondsSinceEpoch(scanned[index].microseconds));
    }
    briefing.activity = activityBuckets(windowDates, window.start, now,
                                        static_cast<int>(SmartBriefing::activityBucketCount));

    briefing.totalCount = briefing.agents.size();
    briefing.backgroundCount = briefing.totalCount - briefing.attention.size();
    briefing.updatesInWindow = windowUpdates.size();
    briefing.agentsInWindow = static_cast<std::size_t>(std::count_if(
        sources.begin(), sources.end(), [](const Source& source) { return source.inWindow; }));
    briefing.completedCount = static_cast<std::size_t>(std::count_if(
        sources.begin(), sources.end(), [](const Source& s) { return s.completedInWindow; }));
    return briefing;
}

} // namespace Presentation
} // namespace OrvelKit
