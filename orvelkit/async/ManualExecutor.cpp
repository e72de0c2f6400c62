#include "orvelkit/async/ManualExecutor.h"

#include <utility>

namespace OrvelKit {

ManualExecutor::~ManualExecutor() {
    closeDoor();
    // Work left unrun is destroyed here, while the executor is still whole:
    // destroying it may post or cancel timers.
    std::deque<std::function<void()>> work;
    {
        std::lock_guard lock(mutex_);
        work.swap(work_);
    }
    work.clear();
}

void ManualExecutor::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    posted_.notify_all();
}

Timer ManualExecutor::schedule(Duration delay, TimerCallback callback) {
    return addTimer(delay, std::nullopt, std::move(callback));
}

Timer ManualExecutor::scheduleRepeating(Duration interval, TimerCallback callback) {
    return addTimer(interval, interval, std::move(callback));
}

Timer ManualExecutor::addTimer(Duration delay, std::optional<Duration> interval,
                               TimerCallback callback) {
    std::vector<TimerQueue::Entry> cancelled;
    Timer timer;
    {
        std::lock_guard lock(mutex_);
        timer = timers_.add(now_ + delay, interval, std::move(callback));
        cancelled = timers_.takeCancelled();
    }
    return timer;
}

Executor::TimePoint ManualExecutor::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

bool ManualExecutor::runOne() {
    std::function<void()> work;
    {
        std::lock_guard lock(mutex_);
        if (work_.empty()) {
            return false;
        }
        work = std::move(work_.front());
        work_.pop_front();
    }
    work();
    return true;
}

std::size_t ManualExecutor::runUntilIdle() {
    std::size_t count = 0;
    while (runOne()) {
        ++count;
    }
    return count;
}

bool ManualExecutor::runUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (runOne()) {
            continue;
        }
        std::unique_lock lock(mutex_);
        if (!posted_.wait_until(lock, deadline, [this] { return !work_.empty(); })) {
            lock.unlock();
            return done();
        }
    }
    return true;
}

void ManualExecutor::advance(Duration duration) {
    TimePoint target;
    {
        std::lock_guard lock(mutex_);
        target = now_ + duration;
    }
    runUntilIdle();
    for (;;) {
        std::optional<TimerQueue::Entry> due;
        std::vector<TimerQueue::Entry> cancelled;
        {
            std::lock_guard lock(mutex_);
            due = timers_.takeDue(target);
            cancelled = timers_.takeCancelled();
            if (due) {
                now_ = due->due;
            }
        }
        cancelled.clear();
        if (!due) {
            break;
        }
        const auto firedAt = due->due;
        if (auto again = fireTimer(std::move(*due))) {
            std::lock_guard lock(mutex_);
            const auto interval = *again->interval;
            timers_.requeue(std::move(*again), firedAt + interval);
        }
        runUntilIdle();
    }
    {
        std::lock_guard lock(mutex_);
        now_ = target;
    }
    runUntilIdle();
}

std::size_t ManualExecutor::pendingWork() const {
    std::lock_guard lock(mutex_);
    return work_.size();
}

} // namespace OrvelKit
