#include "orvelkit/async/EventLoop.h"

#include <vector>

namespace OrvelKit {

EventLoop::~EventLoop() {
    closeDoor();
    // Unrun work is destroyed while the loop is still whole (see
    // ManualExecutor).
    std::deque<std::function<void()>> work;
    {
        std::lock_guard lock(mutex_);
        work.swap(work_);
    }
    work.clear();
}

void EventLoop::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    wake_.notify_one();
}

Timer EventLoop::schedule(Duration delay, TimerCallback callback) {
    return addTimer(delay, std::nullopt, std::move(callback));
}

Timer EventLoop::scheduleRepeating(Duration interval, TimerCallback callback) {
    return addTimer(interval, interval, std::move(callback));
}

Timer EventLoop::addTimer(Duration delay, std::optional<Duration> interval,
                          TimerCallback callback) {
    std::vector<TimerQueue::Entry> cancelled;
    Timer timer;
    {
        std::lock_guard lock(mutex_);
        timer = timers_.add(now() + delay, interval, std::move(callback));
        cancelled = timers_.takeCancelled();
    }
    wake_.notify_one();
    return timer;
}

void EventLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_one();
}

void EventLoop::run() {
    for (;;) {
        std::function<void()> work;
        std::optional<TimerQueue::Entry> due;
        std::vector<TimerQueue::Entry> cancelled;
        {
            std::unique_lock lock(mutex_);
            for (;;) {
                if (stopRequested_) {
                    stopRequested_ = false;
                    return;
                }
                if (!work_.empty()) {
                    work = std::move(work_.front());
                    work_.pop_front();
                    break;
                }
                due = timers_.takeDue(now());
                cancelled = timers_.takeCancelled();
                if (due) {
                    break;
                }
                if (!cancelled.empty()) {
                    lock.unlock();
                    cancelled.clear();
                    lock.lock();
                    continue;
                }
                if (auto next = timers_.nextDue()) {
                    wake_.wait_until(lock, *next);
                } else {
                    wake_.wait(lock);
                }
            }
        }
        cancelled.clear();
        if (work) {
            work();
            continue;
        }
        const auto firedAt = due->due;
        if (auto again = fireTimer(std::move(*due))) {
            // Ticks missed while the loop was busy are skipped, not replayed.
            const auto interval = *again->interval;
            auto next = firedAt + interval;
            const auto current = now();
            if (next <= current) {
                next = current + interval;
            }
            std::lock_guard lock(mutex_);
            timers_.requeue(std::move(*again), next);
        }
    }
}

} // namespace OrvelKit
