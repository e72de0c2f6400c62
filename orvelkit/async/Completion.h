#pragma once

// Bridges callback-style operations into tasks.
//
//   Result result = co_await suspendUntil<Result>([&](Completion<Result> done) {
//       startSomething(std::move(done)); // done(result) later, on any thread
//   });
//
// The awaiting coroutine is resumed on its own executor, never on the thread
// that completes the operation. A completion must be called exactly once:
// dropping it uncalled is a bug and terminates the program. Called after
// the executor is gone, it destroys the awaiting chain instead, on the
// calling thread.

#include "orvelkit/async/Executor.h"
#include "orvelkit/async/Task.h"

#include <cassert>
#include <coroutine>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace OrvelKit {

namespace Detail {

// Resumes a suspended coroutine when run. If the executor discards the work
// unrun (it is being destroyed), the whole chain's frames are destroyed
// instead, so nothing leaks.
class Resumption {
public:
    Resumption(std::coroutine_handle<> handle, std::coroutine_handle<> root)
        : handle_(handle), root_(root) {}
    Resumption(const Resumption&) = delete;
    Resumption& operator=(const Resumption&) = delete;
    ~Resumption() {
        if (handle_ && root_) {
            root_.destroy();
        }
    }

    void run() { std::exchange(handle_, {}).resume(); }

private:
    std::coroutine_handle<> handle_;
    std::coroutine_handle<> root_;
};

inline std::function<void()> resumptionOf(std::coroutine_handle<> handle,
                                          std::coroutine_handle<> root) {
    return [resumption = std::make_shared<Resumption>(handle, root)] { resumption->run(); };
}

inline void postResumption(Executor& executor, std::coroutine_handle<> handle,
                           std::coroutine_handle<> root) {
    executor.post(resumptionOf(handle, root));
}

} // namespace Detail

// Delivers the result of an asynchronous operation to the coroutine awaiting
// it. Move-only; call it exactly once, from any thread.
template <class T>
class [[nodiscard]] Completion {
public:
    Completion(Executor& executor, std::coroutine_handle<> awaiting, std::coroutine_handle<> root,
               std::optional<T>& slot)
        : door_(executor.door()), awaiting_(awaiting), root_(root), slot_(&slot) {}
    Completion(Completion&& other) noexcept
        : door_(std::move(other.door_)), awaiting_(std::exchange(other.awaiting_, {})),
          root_(other.root_), slot_(other.slot_) {}
    Completion& operator=(Completion&&) = delete;
    Completion(const Completion&) = delete;
    Completion& operator=(const Completion&) = delete;
    ~Completion() {
        if (awaiting_) {
            std::terminate(); // an operation was dropped without completing
        }
    }

    void operator()(T value) {
        assert(awaiting_);
        slot_->emplace(std::move(value));
        door_->post(Detail::resumptionOf(std::exchange(awaiting_, {}), root_));
    }

private:
    std::shared_ptr<ExecutorDoor> door_;
    std::coroutine_handle<> awaiting_;
    std::coroutine_handle<> root_;
    std::optional<T>* slot_;
};

template <class T, class Start>
class CompletionAwaiter {
public:
    explicit CompletionAwaiter(Start start) : start_(std::move(start)) {}

    bool await_ready() const noexcept { return false; }

    template <Detail::ChainPromise P>
    void await_suspend(std::coroutine_handle<P> awaiting) {
        auto& promise = awaiting.promise();
        assert(promise.executor);
        // The operation may complete and the coroutine resume elsewhere
        // before `start` returns: nothing of this awaiter is touched after.
        auto start = std::move(start_);
        start(Completion<T>(*promise.executor, awaiting, promise.root, result_));
    }

    T await_resume() { return std::move(*result_); }

private:
    Start start_;
    std::optional<T> result_;
};

// Suspends the awaiting task until `start`'s completion is called.
template <class T, class Start>
CompletionAwaiter<T, Start> suspendUntil(Start start) {
    return CompletionAwaiter<T, Start>(std::move(start));
}

} // namespace OrvelKit
