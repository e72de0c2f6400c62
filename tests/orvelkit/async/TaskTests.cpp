#include "orvelkit/async/Completion.h"
#include "orvelkit/async/EventLoop.h"
#include "orvelkit/async/ManualExecutor.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/async/Task.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace OrvelKit;

namespace {

Task<std::unique_ptr<int>> makeBox(int value, std::vector<std::string>& trace) {
    trace.push_back("box " + std::to_string(value));
    co_return std::make_unique<int>(value);
}

Task<int> sumOfBoxes(std::vector<std::string>& trace) {
    auto first = co_await makeBox(2, trace);
    auto second = co_await makeBox(40, trace);
    co_return *first + *second;
}

// Completes `completion` from a thread of its own.
template <class T>
void completeElsewhere(Completion<T> completion, T value, std::thread::id& completedOn) {
    std::thread([completion = std::move(completion), value = std::move(value),
                 &completedOn]() mutable {
        completedOn = std::this_thread::get_id();
        completion(std::move(value));
    }).join();
}

struct Probe {
    std::thread::id thread;
    Executor* executor = nullptr;
};

Task<Probe> probeAfterSuspending(std::thread::id& completedOn) {
    int value = co_await suspendUntil<int>(
        [&](Completion<int> done) { completeElsewhere(std::move(done), 7, completedOn); });
    EXPECT_EQ(value, 7);
    co_return Probe{std::this_thread::get_id(), &co_await currentExecutor()};
}

Task<Probe> outerProbe(std::thread::id& completedOn) {
    co_return co_await probeAfterSuspending(completedOn);
}

} // namespace

TEST(Task, IsLazyChainsResultsAndCompletesOnce) {
    ManualExecutor executor;
    std::vector<std::string> trace;
    int completions = 0;
    int result = 0;

    spawn(executor, sumOfBoxes(trace), [&](int sum) {
        ++completions;
        result = sum;
    });
    EXPECT_TRUE(trace.empty()) << "a spawned task starts on its executor, not inline";

    executor.runUntilIdle();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(trace, (std::vector<std::string>{"box 2", "box 40"}));

    // A task that is never awaited never runs; dropping it frees its frame.
    { auto unused = makeBox(1, trace); }
    EXPECT_EQ(trace.size(), 2u);
}

TEST(Completion, ResumesTheWholeChainOnItsOwnExecutor) {
    EventLoop loop;
    std::thread::id completedOn;
    const Probe probe = loop.runUntilComplete(outerProbe(completedOn));

    EXPECT_NE(completedOn, std::this_thread::get_id());
    EXPECT_EQ(probe.thread, std::this_thread::get_id());
    EXPECT_EQ(probe.executor, &loop) << "awaited tasks inherit the spawning executor";
}

TEST(Completion, ChainIsFreedWhenItsResumptionCannotRun) {
    // Either the executor is destroyed with the resumption still posted, or a
    // request finishes on a worker thread after the executor it would resume
    // on is gone (the app shutting down).
    for (const bool completedAfterExecutorIsGone : {false, true}) {
        SCOPED_TRACE(completedAfterExecutorIsGone);
        auto alive = std::make_shared<int>(0);
        std::weak_ptr<int> watch = alive;
        bool finished = false;
        std::optional<Completion<int>> parked;
        {
            ManualExecutor executor;
            auto task = [](std::shared_ptr<int> held [[maybe_unused]],
                           std::optional<Completion<int>>& park) -> Task<int> {
                co_return co_await suspendUntil<int>(
                    [&](Completion<int> done) { park.emplace(std::move(done)); });
            }(std::move(alive), parked);
            spawn(executor, std::move(task), [&](int) { finished = true; });
            executor.runUntilIdle();
            ASSERT_TRUE(parked);
            if (!completedAfterExecutorIsGone) {
                (*parked)(1); // resumption posted, never run
                parked.reset();
                EXPECT_FALSE(watch.expired());
            }
        }
        if (completedAfterExecutorIsGone) {
            std::thread::id completedOn;
            completeElsewhere(std::move(*parked), 1, completedOn);
            parked.reset();
        }
        EXPECT_FALSE(finished);
        EXPECT_TRUE(watch.expired()) << "the suspended frames were destroyed";
    }
}

TEST(ManualExecutor, FiresTimersInTimeOrderUntilCancelledOrDropped) {
    using namespace std::chrono_literals;
    ManualExecutor executor;
    const auto start = executor.now();
    std::vector<std::string> fired;
    auto note = [&](std::string name) {
        return [&, name] {
            fired.push_back(name + "@" + std::to_string((executor.now() - start) / 1s));
            executor.post([&, name] { fired.push_back(name + " posted"); });
        };
    };
    Timer b = executor.schedule(20s, note("b"));
    Timer a = executor.schedule(10s, note("a"));
    Timer dropped = executor.schedule(5s, note("dropped"));
    Timer every = executor.scheduleRepeating(15s, note("r"));
    int countdown = 2;
    Timer selfStopping = executor.scheduleRepeating(25s, [&] { return --countdown > 0; });
    dropped.cancel();

    executor.advance(30s);
    EXPECT_EQ(fired, (std::vector<std::string>{"a@10", "a posted", "r@15", "r posted", "b@20",
                                               "b posted", "r@30", "r posted"}));
    EXPECT_FALSE(a.active()) << "a one-shot timer is done once fired";
    EXPECT_TRUE(selfStopping.active());
    executor.advance(25s); // 55 s: the self-stopping timer's second firing
    EXPECT_FALSE(selfStopping.active());
    { Timer gone = std::move(every); }
    fired.clear();
    executor.advance(60s);
    EXPECT_TRUE(fired.empty()) << "dropping the handle cancels the timer";
}
