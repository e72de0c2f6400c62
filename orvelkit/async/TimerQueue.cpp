#include "orvelkit/async/TimerQueue.h"

#include <algorithm>

namespace OrvelKit {

Timer TimerQueue::add(TimePoint due, std::optional<Duration> interval, TimerCallback callback) {
    dropCancelled();
    if (interval) {
        interval = std::max(*interval, minimumInterval);
    }
    auto token = std::make_shared<TimerToken>();
    entries_.emplace(std::pair{due, sequence_++}, Entry{due, interval, std::move(callback), token});
    return Timer(std::move(token));
}

void TimerQueue::requeue(Entry entry, TimePoint due) {
    entry.due = due;
    entries_.emplace(std::pair{due, sequence_++}, std::move(entry));
}

std::optional<TimerQueue::TimePoint> TimerQueue::nextDue() {
    dropCancelled();
    if (entries_.empty()) {
        return std::nullopt;
    }
    return entries_.begin()->second.due;
}

std::optional<TimerQueue::Entry> TimerQueue::takeDue(TimePoint now) {
    dropCancelled();
    if (entries_.empty() || entries_.begin()->second.due > now) {
        return std::nullopt;
    }
    auto node = entries_.extract(entries_.begin());
    return std::move(node.mapped());
}

bool TimerQueue::empty() {
    dropCancelled();
    return entries_.empty();
}

void TimerQueue::dropCancelled() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.token->cancelled()) {
            cancelled_.push_back(std::move(it->second));
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

std::optional<TimerQueue::Entry> fireTimer(TimerQueue::Entry entry) {
    if (entry.token->cancelled()) {
        return std::nullopt;
    }
    const bool goOn = entry.callback();
    if (!entry.interval || !goOn) {
        entry.token->cancel();
        return std::nullopt;
    }
    if (entry.token->cancelled()) {
        return std::nullopt;
    }
    return entry;
}

} // namespace OrvelKit
