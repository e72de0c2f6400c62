#pragma once

// Where state-owning code runs. An executor runs posted work and timer
// callbacks one at a time on the thread that owns it; coroutines spawned on it
// resume there after every asynchronous operation (see Task.h).

#include "orvelkit/async/Timer.h"

#include <chrono>
#include <functional>

namespace OrvelKit {

class Executor {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = Clock::duration;
    using TimePoint = Clock::time_point;

    virtual ~Executor() = default;

    // Queues `work` to run on the executor's thread. Callable from any thread.
    virtual void post(std::function<void()> work) = 0;

    // Runs `callback` once, `delay` from now. Dropping the handle cancels it.
    virtual Timer schedule(Duration delay, TimerCallback callback) = 0;

    // Runs `callback` every `interval` until the handle is dropped or
    // cancelled, or the callback returns false.
    virtual Timer scheduleRepeating(Duration interval, TimerCallback callback) = 0;

    // The executor's steady clock, which its timers follow.
    virtual TimePoint now() const = 0;
};

} // namespace OrvelKit
