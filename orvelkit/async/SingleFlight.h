#pragma once

// Lets overlapping callers share one run of an operation: the first caller
// starts it, and whoever asks while it runs waits for that run's result
// instead of starting a second one.
//
//   Task<bool> ensure() { return registration_.run([this] { return registerOnce(); }, false); }
//
// Use from one executor's thread. The owner may go away while a run is in
// progress: the run's state lives as long as its tasks. Waiters whose run
// ends without a result (its task destroyed with its executor) get the
// `abandoned` value given to run().

#include "orvelkit/async/Completion.h"
#include "orvelkit/async/Task.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace OrvelKit {

template <class T>
class SingleFlight {
public:
    Task<T> run(std::function<Task<T>()> operation, T abandoned) {
        const auto state = state_;
        if (const auto flight = state->flight) {
            // A named awaiter: gcc 12 destroys lambda temporaries inside a
            // co_await expression twice.
            auto join = [flight](Completion<T> done) {
                flight->waiting.push_back(std::move(done));
            };
            auto awaiter = suspendUntil<T>(std::move(join));
            co_return co_await awaiter;
        }
        const auto flight = std::make_shared<Flight>(std::move(abandoned));
        state->flight = flight;
        T result = co_await operation();
        state->flight.reset();
        flight->finish(result);
        co_return result;
    }

    bool running() const { return state_->flight != nullptr; }

private:
    struct Flight {
        explicit Flight(T abandoned) : abandoned(std::move(abandoned)) {}
        ~Flight() { finish(abandoned); }
        void finish(const T& result) {
            for (auto& done : std::exchange(waiting, {})) {
                done(result);
            }
        }
        T abandoned;
        std::vector<Completion<T>> waiting;
    };
    struct State {
        std::shared_ptr<Flight> flight;
    };

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace OrvelKit
