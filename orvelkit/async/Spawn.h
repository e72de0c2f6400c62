#pragma once

// Starting a task without awaiting it.
//
// spawn() posts the task's start to `executor`; the task and everything it
// awaits then run and resume on that executor. The optional callback receives
// the result there, once.

#include "orvelkit/async/Completion.h"
#include "orvelkit/async/Executor.h"
#include "orvelkit/async/Task.h"

#include <concepts>
#include <coroutine>
#include <memory>
#include <type_traits>
#include <utility>

namespace OrvelKit {

namespace Detail {

// The outermost coroutine of a spawned chain; frees itself when done.
struct Detached {
    struct promise_type : PromiseBase {
        Detached get_return_object() noexcept {
            return Detached{std::coroutine_handle<promise_type>::from_promise(*this)};
        }
        std::suspend_never final_suspend() noexcept { return {}; }
        void return_void() noexcept {}
    };

    std::coroutine_handle<promise_type> handle;
};

template <class T, class OnDone>
Detached runDetached(Task<T> task, OnDone onDone) {
    if constexpr (std::is_void_v<T>) {
        co_await std::move(task);
        onDone();
    } else {
        onDone(co_await std::move(task));
    }
}

} // namespace Detail

// A callback for a task's result: f(result), or f() for Task<void>.
template <class F, class T>
concept ResultHandler = (std::is_void_v<T> && std::invocable<F&>) ||
                        (!std::is_void_v<T> && std::invocable<F&, T>);

template <class T, ResultHandler<T> OnDone>
void spawn(Executor& executor, Task<T> task, OnDone onDone) {
    auto detached = Detail::runDetached(std::move(task), std::move(onDone));
    auto& promise = detached.handle.promise();
    promise.executor = &executor;
    promise.root = detached.handle;
    Detail::postResumption(executor, detached.handle, detached.handle);
}

inline void spawn(Executor& executor, Task<void> task) {
    spawn(executor, std::move(task), [] {});
}

} // namespace OrvelKit
