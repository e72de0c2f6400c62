#pragma once

// The smart briefing at the top of the inbox: what the agents did since the
// user last looked (or since the start of the current part of the day), which
// sources need a decision, which are still working, which changed state, and a
// small activity histogram. Dismissed updates are hidden here.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/json/Enumeration.h"
#include "orvelkit/presentation/AgentRow.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OrvelKit {

// The part of the day, by the wall-clock hour: morning 5-11, afternoon 12-16,
// evening 17-21, night 22-4.
enum class BriefingPeriod { morning, afternoon, evening, night };

// The window a briefing covers: the time since the last visit, or the
// stretch that leads into the current period.
enum class BriefingScope { sinceLastVisit, overnight, thisMorning, thisAfternoon, thisEvening };

// A source whose newest update, inside the window, changed its status dot.
struct AgentTransition {
    // The newest update's id.
    std::string id;
    std::string agent;
    // The newest update's title.
    std::string summary;
    // The newest update's age as short text.
    std::string relativeTime;
    // The dot of the source's previous visible update.
    StatusDot from = StatusDot::info;
    // The dot of its newest update.
    StatusDot to = StatusDot::info;

    bool operator==(const AgentTransition&) const = default;
};

struct SmartBriefing {
    static constexpr std::size_t activityBucketCount = 6;

    BriefingPeriod period = BriefingPeriod::morning;
    BriefingScope scope = BriefingScope::sinceLastVisit;
    // One row per source, from its newest update, newest source first;
    // sources whose newest update is dismissed are left out.
    std::vector<AgentRow> agents;
    // The `agents` rows whose dot is `need` or `failed`.
    std::vector<AgentRow> attention;
    // The `agents` rows that are running, or that are `info` and whose update
    // lies in the window.
    std::vector<AgentRow> onRadar;
    std::vector<AgentTransition> transitions;
    // Window updates per sixth of the window, oldest sixth first.
    std::vector<std::size_t> activity;
    // `agents` rows that are running.
    std::size_t activeCount = 0;
    // Sources with at least one window update whose status is "done".
    std::size_t completedCount = 0;
    // `totalCount` minus the attention rows.
    std::size_t backgroundCount = 0;
    // The number of `agents` rows.
    std::size_t totalCount = 0;
    // Visible updates stamped between the window start and now, both included.
    std::size_t updatesInWindow = 0;
    // Distinct sources among the window updates.
    std::size_t agentsInWindow = 0;

    std::size_t unreadAttentionCount() const;

    bool operator==(const SmartBriefing&) const = default;
};

namespace Presentation {

// The period of `date` by its hour in the calendar.
BriefingPeriod briefingPeriod(Date date, const Calendar& calendar);

// The scope a period covers when there is no usable last visit:
// morning → overnight, afternoon → this morning, evening → this afternoon,
// night → this evening.
BriefingScope briefingScope(BriefingPeriod period);

// Where the period that contains `now` starts its briefing: 18:00 of the
// previous day in the morning, 08:00 in the afternoon, 12:00 in the evening,
// 17:00 at night (of the previous day before 05:00).
Date briefingPeriodStart(Date now, const Calendar& calendar);

// The briefing of the inbox at `now`. The window starts at `lastOpenedAt` when
// that lies at or after the period start and before `now` (scope
// `sinceLastVisit`), otherwise at the period start; it ends at `now`. Both
// ends are included.
SmartBriefing smartBriefing(const Inbox& inbox, Date now, std::optional<Date> lastOpenedAt,
                            const Calendar& calendar);

// Counts `dates` into `count` equal slices of [from, to] (a span shorter than
// a second counts as one second); dates before `from` go to the first slice,
// dates at or after `to` to the last. A count below 1 gives no slices.
std::vector<std::size_t> activityBuckets(std::span<const Date> dates, Date from, Date to,
                                         int count);

} // namespace Presentation
} // namespace OrvelKit

namespace OrvelKit::Json {

template <>
struct EnumTraits<OrvelKit::BriefingPeriod> {
    using E = OrvelKit::BriefingPeriod;
    static constexpr std::array cases{std::pair{E::morning, std::string_view("morning")},
                                      std::pair{E::afternoon, std::string_view("afternoon")},
                                      std::pair{E::evening, std::string_view("evening")},
                                      std::pair{E::night, std::string_view("night")}};
};

template <>
struct EnumTraits<OrvelKit::BriefingScope> {
    using E = OrvelKit::BriefingScope;
    static constexpr std::array cases{
        std::pair{E::sinceLastVisit, std::string_view("sinceLastVisit")},
        std::pair{E::overnight, std::string_view("overnight")},
        std::pair{E::thisMorning, std::string_view("thisMorning")},
        std::pair{E::thisAfternoon, std::string_view("thisAfternoon")},
        std::pair{E::thisEvening, std::string_view("thisEvening")}};
};

} // namespace OrvelKit::Json
