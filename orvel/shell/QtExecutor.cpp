#include "orvel/shell/QtExecutor.h"

#include <QMetaObject>
#include <QThread>
#include <chrono>
#include <vector>

namespace Orvel {

QtExecutor::QtExecutor(QObject* parent) : QObject(parent) {
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, [this] { fireDue(); });
}

QtExecutor::~QtExecutor() {
    closeDoor();
    std::vector<OrvelKit::TimerQueue::Entry> dropped;
    {
        std::lock_guard lock(mutex_);
        while (auto entry = timers_.takeDue(TimePoint::max())) {
            dropped.push_back(std::move(*entry));
        }
        for (auto& entry : timers_.takeCancelled()) {
            dropped.push_back(std::move(entry));
        }
    }
}

void QtExecutor::post(std::function<void()> work) {
    // Queued work belongs to this object: it is dropped with it, unrun.
    QMetaObject::invokeMethod(
        this, [work = std::move(work)]() mutable { work(); }, Qt::QueuedConnection);
}

OrvelKit::Timer QtExecutor::schedule(Duration delay, OrvelKit::TimerCallback callback) {
    return addTimer(delay, std::nullopt, std::move(callback));
}

OrvelKit::Timer QtExecutor::scheduleRepeating(Duration interval, OrvelKit::TimerCallback callback) {
    return addTimer(interval, interval, std::move(callback));
}

OrvelKit::Timer QtExecutor::addTimer(Duration delay, std::optional<Duration> interval,
                                     OrvelKit::TimerCallback callback) {
    OrvelKit::Timer timer;
    std::vector<OrvelKit::TimerQueue::Entry> cancelled;
    {
        std::lock_guard lock(mutex_);
        timer = timers_.add(now() + delay, interval, std::move(callback));
        cancelled = timers_.takeCancelled();
    }
    if (QThread::currentThread() == thread()) {
        rearm();
    } else {
        QMetaObject::invokeMethod(
            this, [this] { rearm(); }, Qt::QueuedConnection);
    }
    return timer;
}

void QtExecutor::rearm() {
    std::optional<TimePoint> next;
    {
        std::lock_guard lock(mutex_);
        next = timers_.nextDue();
    }
    if (!next) {
        wake_.stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now());
    wake_.start(static_cast<int>(std::clamp<std::int64_t>(wait.count(), 0, 24 * 3600 * 1000)));
}

void QtExecutor::fireDue() {
    // Timers fire one at a time, in due order; one that is due again only
    // after this round waits for the next wake-up.
    const auto round = now();
    for (;;) {
        std::optional<OrvelKit::TimerQueue::Entry> due;
        std::vector<OrvelKit::TimerQueue::Entry> cancelled;
        {
            std::lock_guard lock(mutex_);
            due = timers_.takeDue(round);
            cancelled = timers_.takeCancelled();
        }
        cancelled.clear();
        if (!due) {
            break;
        }
        const auto firedAt = due->due;
        if (auto again = OrvelKit::fireTimer(std::move(*due))) {
            // Ticks missed while the loop was busy are skipped, not replayed.
            const auto interval = *again->interval;
            auto next = firedAt + interval;
            if (next <= now()) {
                next = now() + interval;
            }
            std::lock_guard lock(mutex_);
            timers_.requeue(std::move(*again), next);
        }
    }
    rearm();
}

} // namespace Orvel
