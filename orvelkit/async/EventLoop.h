#pragma once

// A real executor: run() processes posted work and due timers on the calling
// thread until stop(). post(), schedule() and stop() may be called from any
// thread.

#include "orvelkit/async/Executor.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/async/Task.h"
#include "orvelkit/async/TimerQueue.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

namespace OrvelKit {

class EventLoop final : public Executor {
public:
    EventLoop() = default;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;
    ~EventLoop() override;

    void post(std::function<void()> work) override;
    Timer schedule(Duration delay, TimerCallback callback) override;
    Timer scheduleRepeating(Duration interval, TimerCallback callback) override;
    TimePoint now() const override { return Clock::now(); }

    // Runs work and timers until stop() is called. A stop() made while the
    // loop is not running makes the next run() return at once.
    void run();

    // Makes run() return once the work item in progress is done.
    void stop();

    // Spawns `task` on this loop and runs the loop until the task completes
    // (stop() requests meanwhile are ignored); returns its result.
    template <class T>
    T runUntilComplete(Task<T> task);

private:
    Timer addTimer(Duration delay, std::optional<Duration> interval, TimerCallback callback);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> work_;
    TimerQueue timers_;
    bool stopRequested_ = false;
};

template <class T>
T EventLoop::runUntilComplete(Task<T> task) {
    if constexpr (std::is_void_v<T>) {
        bool done = false;
        spawn(*this, std::move(task), [&] {
            done = true;
            stop();
        });
        while (!done) {
            run();
        }
    } else {
        std::optional<T> result;
        spawn(*this, std::move(task), [&](T value) {
            result.emplace(std::move(value));
            stop();
        });
        while (!result) {
            run();
        }
        return std::move(*result);
    }
}

} // namespace OrvelKit
