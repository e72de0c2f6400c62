#pragma once

// An executor driven by hand, for tests: posted work runs only inside
// runOne() / runUntilIdle() / runUntil(), and time moves only with advance().
// post() may be called from any thread; everything else belongs to the thread
// that drives the executor.

#include "orvelkit/async/Executor.h"
#include "orvelkit/async/TimerQueue.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace OrvelKit {

class ManualExecutor final : public Executor {
public:
    ManualExecutor() = default;
    ManualExecutor(const ManualExecutor&) = delete;
    ManualExecutor& operator=(const ManualExecutor&) = delete;
    ~ManualExecutor() override;

    void post(std::function<void()> work) override;
    Timer schedule(Duration delay, TimerCallback callback) override;
    Timer scheduleRepeating(Duration interval, TimerCallback callback) override;

    // Starts at the clock's epoch and moves only with advance().
    TimePoint now() const override;

    // Runs the oldest posted work item; false when there was none.
    bool runOne();

    // Runs posted work, including work posted meanwhile, until none is left.
    // Returns how many items ran.
    std::size_t runUntilIdle();

    // Runs posted work as it arrives (waiting for other threads to post) until
    // `done()` holds or `timeout` of real time has passed. Returns `done()`.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Moves the clock forward by `duration`, firing every timer that falls due
    // in time order: the clock stands at each timer's due time while it fires,
    // and the work it posts runs before the next timer.
    void advance(Duration duration);

    std::size_t pendingWork() const;

private:
    Timer addTimer(Duration delay, std::optional<Duration> interval, TimerCallback callback);

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> work_;
    TimerQueue timers_;
    TimePoint now_{};
};

} // namespace OrvelKit
