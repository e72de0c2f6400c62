#pragma once

// What the expanded activity window shows, computed Qt-free: the inputs taken
// from the app model once per change (the activity days, the briefing's
// attention, the cards, the channels), and from them the pane of one
// destination under the channel and search filters. Filtering runs on these
// values only, so a keystroke in the search field costs a pass over the
// shown day's items, never a rebuild of the timeline.

#include "orvel/core/AppModel.h"
#include "orvelkit/presentation/ActivityDayDescriptor.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel {

// Where the window's sidebar points.
struct ActivityDestination {
    enum class Kind { day, attention, cards };
    Kind kind = Kind::attention;
    // The day's first moment, for `day`.
    OrvelKit::Date day;

    static ActivityDestination ofDay(OrvelKit::Date date) { return {Kind::day, date}; }
    bool operator==(const ActivityDestination&) const = default;
};

// The model's state as the window reads it.
struct ActivitySource {
    std::vector<OrvelKit::ActivityDayDescriptor> days;
    // The briefing's attention, as timeline items.
    std::vector<OrvelKit::ActivityItemDescriptor> attention;
    std::vector<OrvelKit::PersistentCardDescriptor> cards;
    std::set<std::string> pinnedCardIds;
    std::vector<OrvelKit::ChannelDescriptor> channels;
    OrvelKit::Date now;

    // From the inbox in use (the sample while development data shows).
    static ActivitySource from(const AppModel& model);

    const OrvelKit::ActivityDayDescriptor* day(OrvelKit::Date date) const;
    // The destination shown first: the newest day, else `attention`.
    ActivityDestination initialDestination() const;
};

// The channel (empty: all) and the search text (empty: no search).
struct ActivityFilter {
    std::string channel;
    std::string query;
};

enum class ActivityEmptyState {
    none,
    nothingNeedsYou,
    noCardsMatch,
    noActivityMatches,
    dayUnavailable,
    noActivity,
};

// The content pane of one destination under a filter. Items and cards point
// into the source the pane was computed from.
struct ActivityPane {
    ActivityEmptyState emptyState = ActivityEmptyState::none;
    // The subtitle's count: the filtered items or cards shown.
    std::size_t count = 0;
    // The selected channel's name; empty for all channels (or an id that no
    // listed channel has).
    std::string scope;
    // `attention`: every row; `day`: the rows that need the user or failed.
    std::vector<const OrvelKit::ActivityItemDescriptor*> needsYou;
    // `day`: the rest of the day's rows.
    std::vector<const OrvelKit::ActivityItemDescriptor*> others;
    std::vector<const OrvelKit::PersistentCardDescriptor*> cards;
    // The day's summary over its filtered items.
    bool showsMetrics = false;
    std::size_t completed = 0;
    std::size_t running = 0;
};

ActivityPane activityPane(const ActivitySource& source, const ActivityDestination& destination,
                          const ActivityFilter& filter, std::string_view localeId);

// How a day is named: "Today", "Yesterday", else by its date.
enum class RelativeDay { today, yesterday, other };
RelativeDay relativeDay(OrvelKit::Date day, OrvelKit::Date now, const OrvelKit::Calendar& calendar);

// The day in the calendar's locale and time zone with an abbreviated weekday
// and month ("Sat, Dec 5").
std::string localeDayText(OrvelKit::Date day, const OrvelKit::Calendar& calendar);

} // namespace Orvel
