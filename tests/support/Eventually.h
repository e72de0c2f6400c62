#pragma once

// Waiting for a condition in a test: polled, with a deadline, never a fixed
// sleep followed by a check.

#include <chrono>
#include <functional>
#include <thread>

namespace OrvelTest {

// Polls `done` every few milliseconds until it holds or `timeout` passes;
// whether it held.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace OrvelTest
