#pragma once

// The timers of one executor, ordered by due time (ties in order of
// scheduling). Not synchronised: the executor guards it.

#include "orvelkit/async/Executor.h"
#include "orvelkit/async/Timer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace OrvelKit {

class TimerQueue {
public:
    using Duration = Executor::Duration;
    using TimePoint = Executor::TimePoint;

    struct Entry {
        TimePoint due;
        std::optional<Duration> interval; // present for a repeating timer
        TimerCallback callback;
        std::shared_ptr<TimerToken> token;
    };

    // Intervals shorter than this are raised to it, so that a repeating timer
    // cannot starve everything else.
    static constexpr Duration minimumInterval = std::chrono::milliseconds(1);

    Timer add(TimePoint due, std::optional<Duration> interval, TimerCallback callback);

    // Puts a fired repeating timer back with the given due time.
    void requeue(Entry entry, TimePoint due);

    // The earliest due time of a live timer.
    std::optional<TimePoint> nextDue();

    // Removes and returns the earliest live timer due at or before `now`.
    std::optional<Entry> takeDue(TimePoint now);

    bool empty();

    // Cancelled timers dropped so far. Their callbacks may own arbitrary
    // objects, so the executor destroys them after releasing its lock.
    std::vector<Entry> takeCancelled() { return std::exchange(cancelled_, {}); }

private:
    void dropCancelled();

    std::map<std::pair<TimePoint, std::uint64_t>, Entry> entries_;
    std::vector<Entry> cancelled_;
    std::uint64_t sequence_ = 0;
};

// Runs one fired timer outside the executor's lock. Returns the entry to
// requeue when it is a repeating timer that should go on.
std::optional<TimerQueue::Entry> fireTimer(TimerQueue::Entry entry);

} // namespace OrvelKit
