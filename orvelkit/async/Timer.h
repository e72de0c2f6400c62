#pragma once

// Timers handed out by an Executor: the callback a timer runs and the handle
// that keeps it alive.

#include <atomic>
#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace OrvelKit {

// What a timer runs on its executor. A callback returning bool stops a
// repeating timer by returning false; a void callback keeps it going.
class TimerCallback {
public:
    template <class F>
    requires std::invocable<F&> &&
        (!std::same_as<std::decay_t<F>, TimerCallback>)TimerCallback(F callback) {
        if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
            callback_ = [f = std::move(callback)]() mutable {
                f();
                return true;
            };
        } else {
            callback_ = [f = std::move(callback)]() mutable { return static_cast<bool>(f()); };
        }
    }

    // Runs the callback; false when a repeating timer should stop.
    bool operator()() { return callback_(); }

private:
    std::function<bool()> callback_;
};

// Shared between a Timer handle and the executor's record of the timer.
// Cancellation may come from any thread; the executor checks it before every
// firing.
class TimerToken {
public:
    void cancel() { cancelled_.store(true, std::memory_order_release); }
    bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> cancelled_{false};
};

// Owns a scheduled timer: cancels it on destruction or cancel(). Move-only.
class [[nodiscard]] Timer {
public:
    Timer() = default;
    explicit Timer(std::shared_ptr<TimerToken> token) : token_(std::move(token)) {}
    Timer(Timer&& other) noexcept = default;
    Timer& operator=(Timer&& other) noexcept {
        if (this != &other) {
            cancel();
            token_ = std::move(other.token_);
        }
        return *this;
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { cancel(); }

    void cancel() {
        if (token_) {
            token_->cancel();
            token_.reset();
        }
    }

    // False once cancelled, once a one-shot timer has fired, or once a
    // repeating timer has stopped itself.
    bool active() const { return token_ && !token_->cancelled(); }

private:
    std::shared_ptr<TimerToken> token_;
};

} // namespace OrvelKit
