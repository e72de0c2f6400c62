#pragma once

// Task<T>: a lazy coroutine producing a T.
//
// A task does nothing until it is awaited by another task or started with
// spawn() (Spawn.h). Awaiting a task runs it at once on the awaiting thread and
// hands control back to the awaiting coroutine by symmetric transfer when it
// finishes. Every coroutine in a chain shares the executor the chain was
// spawned on: asynchronous operations (Completion.h) resume the chain there.
//
// Tasks report failures as values (Expected); an exception escaping a task's
// body is a bug and terminates the program.

#include "orvelkit/async/Executor.h"

#include <cassert>
#include <concepts>
#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace OrvelKit {

namespace Detail {

// What every coroutine of ours carries: the executor it resumes on, the
// coroutine awaiting it, and the outermost coroutine of its chain.
struct PromiseBase {
    Executor* executor = nullptr;
    std::coroutine_handle<> continuation;
    std::coroutine_handle<> root;

    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <class P>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<P> finished) noexcept {
            if (auto next = finished.promise().continuation) {
                return next;
            }
            return std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }

    void unhandled_exception() noexcept { std::terminate(); }
};

template <class P>
concept ChainPromise = std::derived_from<P, PromiseBase>;

template <class Promise>
class TaskAwaiter {
public:
    explicit TaskAwaiter(std::coroutine_handle<Promise> task) : task_(task) {}

    bool await_ready() const noexcept { return false; }

    template <ChainPromise P>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<P> awaiting) noexcept {
        auto& promise = task_.promise();
        promise.continuation = awaiting;
        promise.executor = awaiting.promise().executor;
        promise.root = awaiting.promise().root;
        return task_;
    }

    decltype(auto) await_resume() { return task_.promise().takeResult(); }

private:
    std::coroutine_handle<Promise> task_;
};

} // namespace Detail

template <class T = void>
class [[nodiscard]] Task;

namespace Detail {

template <class T>
struct TaskPromise : PromiseBase {
    std::optional<T> result;

    Task<T> get_return_object() noexcept;
    void return_value(T value) { result.emplace(std::move(value)); }
    T takeResult() {
        assert(result);
        return std::move(*result);
    }
};

template <>
struct TaskPromise<void> : PromiseBase {
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
    void takeResult() noexcept {}
};

struct TaskAccess;

} // namespace Detail

template <class T>
class [[nodiscard]] Task {
public:
    using promise_type = Detail::TaskPromise<T>;

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    // Runs the task within the awaiting coroutine's chain. A task is awaited
    // at most once, as an rvalue: co_await std::move(task).
    auto operator co_await() && noexcept {
        assert(handle_ && !handle_.done());
        return Detail::TaskAwaiter<promise_type>(handle_);
    }

private:
    friend promise_type;
    friend struct Detail::TaskAccess;

    explicit Task(std::coroutine_handle<promise_type> handle) : handle_(handle) {}

    void reset() {
        if (handle_) {
            std::exchange(handle_, {}).destroy();
        }
    }

    std::coroutine_handle<promise_type> handle_;
};

namespace Detail {

template <class T>
Task<T> TaskPromise<T>::get_return_object() noexcept {
    return Task<T>(std::coroutine_handle<TaskPromise>::from_promise(*this));
}

inline Task<void> TaskPromise<void>::get_return_object() noexcept {
    return Task<void>(std::coroutine_handle<TaskPromise>::from_promise(*this));
}

} // namespace Detail

namespace Detail {

struct CurrentExecutorAwaiter {
    Executor* executor = nullptr;
    bool await_ready() const noexcept { return false; }
    template <ChainPromise P>
    bool await_suspend(std::coroutine_handle<P> awaiting) noexcept {
        executor = awaiting.promise().executor;
        return false;
    }
    Executor& await_resume() const noexcept { return *executor; }
};

} // namespace Detail

// co_await currentExecutor() gives the executor the awaiting chain runs on.
inline Detail::CurrentExecutorAwaiter currentExecutor() noexcept {
    return {};
}

} // namespace OrvelKit
