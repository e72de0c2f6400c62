#pragma once

// Where state-owning code runs. An executor runs posted work and timer
// callbacks one at a time on the thread that owns it; coroutines spawned on it
// resume there after every asynchronous operation (see Task.h).

#include "orvelkit/async/Timer.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

namespace OrvelKit {

class Executor;

// Posts to an executor from threads that may outlive it (a transport's
// worker finishing a request while the app shuts down). Once the executor has
// closed its door, work is refused: post() returns false and destroys the
// work on the calling thread, after releasing the door.
class ExecutorDoor {
public:
    explicit ExecutorDoor(Executor& executor) : executor_(&executor) {}
    ExecutorDoor(const ExecutorDoor&) = delete;
    ExecutorDoor& operator=(const ExecutorDoor&) = delete;

    bool post(std::function<void()> work);
    void close() {
        std::lock_guard lock(mutex_);
        executor_ = nullptr;
    }

private:
    std::mutex mutex_;
    Executor* executor_;
};

class Executor {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = Clock::duration;
    using TimePoint = Clock::time_point;

    Executor() : door_(std::make_shared<ExecutorDoor>(*this)) {}
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;
    virtual ~Executor() { door_->close(); }

    // Queues `work` to run on the executor's thread. Callable from any thread.
    virtual void post(std::function<void()> work) = 0;

    // Runs `callback` once, `delay` from now. Dropping the handle cancels it.
    virtual Timer schedule(Duration delay, TimerCallback callback) = 0;

    // Runs `callback` every `interval` until the handle is dropped or
    // cancelled, or the callback returns false.
    virtual Timer scheduleRepeating(Duration interval, TimerCallback callback) = 0;

    // The executor's steady clock, which its timers follow.
    virtual TimePoint now() const = 0;

    // The way in for work that may arrive after the executor is gone.
    const std::shared_ptr<ExecutorDoor>& door() const { return door_; }

protected:
    // Executors call this first thing in their destructors, before any of
    // their own state goes.
    void closeDoor() { door_->close(); }

private:
    std::shared_ptr<ExecutorDoor> door_;
};

inline bool ExecutorDoor::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        if (executor_) {
            executor_->post(std::move(work));
            return true;
        }
    }
    return false; // `work` is destroyed on return, with the door released
}

} // namespace OrvelKit
