#pragma once

// Deferred delivery: when an update surfaces, whether it is still held back,
// and which updates of a fresh sync deserve a desktop notification now.
//
// An update's `deliverWhen` is, after trimming white space and ignoring letter
// case, empty, "immediately" or "best_effort" (surface at once), "morning"
// (the first 08:00 after it was created), "next_day" (08:00 on the calendar
// day after the one it was created on), or else an absolute timestamp as
// written (an unreadable one means at once).

#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/SyncResponse.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace OrvelKit::Presentation {

// The first 08:00:00 strictly after `after` in the calendar's time zone.
std::optional<Date> nextMorning(Date after, const Calendar& calendar);

// When the update should surface; absent means at once.
std::optional<Date> surfaceTime(const OrvelProtocol::Notification& notification,
                                const Calendar& calendar);

// Whether the update's surface time lies after `now`. The first form judges
// by the user's current calendar (created only for "morning" and "next_day").
bool isPending(const OrvelProtocol::Notification& notification, Date now);
bool isPending(const OrvelProtocol::Notification& notification, Date now, const Calendar& calendar);

// The updates of `response` that are new and due: those whose `seq` is above
// their channel's entry in `seenCursors` (0 when it has none) and that are not
// pending at `now`, sorted by `seq` ascending (stable: equal numbers, also of
// different channels, keep response order). The first form judges by the
// user's current calendar.
std::vector<OrvelProtocol::Notification>
bannerable(const OrvelProtocol::SyncResponse& response,
           const std::map<std::string, std::uint64_t>& seenCursors, Date now);
std::vector<OrvelProtocol::Notification>
bannerable(const OrvelProtocol::SyncResponse& response,
           const std::map<std::string, std::uint64_t>& seenCursors, Date now,
           const Calendar& calendar);
// The same as pointers into `response`, valid while it is: the first sync of
// a long history selects every update it brings, and copying them all only
// to count most of them costs as much as the merge.
std::vector<const OrvelProtocol::Notification*>
bannerableRefs(const OrvelProtocol::SyncResponse& response,
               const std::map<std::string, std::uint64_t>& seenCursors, Date now,
               const Calendar& calendar);

} // namespace OrvelKit::Presentation
