#pragma once

// The activity timeline: every update of the inbox that has a readable
// timestamp, bucketed into the calendar days of the user's time zone, newest
// day first. Dismissed updates are kept: the history shows everything.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/StatusDot.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <cstddef>
#include <string>
#include <vector>

namespace OrvelKit {

// One update on the timeline.
struct ActivityItemDescriptor {
    // The update's id; also the item's identity.
    std::string id;
    std::string channel;
    // The sender when present and not empty, else the channel.
    std::string agent;
    // The update's title.
    std::string summary;
    Date createdAt;
    // The update's age as short text ("now", "5m", "2h", "3d").
    std::string relativeTime;
    StatusDot dot = StatusDot::info;
    // The update's channel has no entry, or its read mark lies below `seq`.
    bool isUnread = false;

    bool operator==(const ActivityItemDescriptor&) const = default;
};

// The updates of one calendar day, newest first.
struct ActivityDayDescriptor {
    // The first moment of the day; also the day's identity.
    Date date;
    std::vector<ActivityItemDescriptor> items;

    // Items that need the user or failed.
    std::size_t attentionCount() const;
    // Items that are done.
    std::size_t completedCount() const;
    // Items under way.
    std::size_t runningCount() const;

    bool operator==(const ActivityDayDescriptor&) const = default;
};

namespace Presentation {

// The timeline of the inbox at `now`: one entry per day of `calendar` that
// holds an update, latest day first, each day's updates newest first (the
// order of triage). Updates whose timestamp cannot be read are left out.
std::vector<ActivityDayDescriptor> activityDays(const Inbox& inbox, Date now,
                                                const Calendar& calendar);

} // namespace Presentation
} // namespace OrvelKit
