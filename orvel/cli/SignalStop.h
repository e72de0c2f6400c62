#pragma once

// Stops an event loop when SIGINT or SIGTERM arrives, so a long-running
// command ends the way it ends in tests: the loop returns, saves are
// flushed, the process exits normally. A second signal ends the process at
// once.
//
// Create it before any other thread starts: it blocks both signals in the
// creating thread, threads started later inherit that, and a thread of its
// own waits for them.

#include "orvelkit/async/EventLoop.h"

#include <atomic>
#include <csignal>
#include <thread>

namespace Orvel::Cli {

class SignalStop {
public:
    explicit SignalStop(OrvelKit::EventLoop& loop);
    ~SignalStop();
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

    bool received() const { return received_.load(); }

private:
    void wait(OrvelKit::EventLoop& loop);

    sigset_t signals_{};
    std::atomic<bool> finishing_{false};
    std::atomic<bool> received_{false};
    std::thread waiter_;
};

} // namespace Orvel::Cli
