#include "orvel/cli/InFlightTransport.h"

#include "orvelkit/async/Completion.h"

#include <algorithm>
#include <optional>

namespace Orvel::Cli {

// One idle() in waiting. Its deadline timer owns it; should the executor go
// first, dropping the timer completes the wait, which then frees the waiting
// chain instead of resuming it.
struct InFlightTransport::IdleWaiter {
    OrvelKit::Executor& executor;
    std::shared_ptr<Counts> counts;
    std::optional<OrvelKit::Completion<bool>> done;

    ~IdleWaiter() { finish(false); }

    void finish(bool settled) {
        if (done) {
            auto completion = std::move(*done);
            done.reset();
            completion(settled);
        }
    }
    // Posted, so that it runs after the resumed caller of the last request.
    void check(const std::shared_ptr<IdleWaiter>& self) {
        executor.post([weak = std::weak_ptr(self)] {
            if (const auto waiter = weak.lock(); waiter && waiter->counts->inFlight == 0) {
                waiter->finish(true);
            }
        });
    }
};

OrvelKit::Task<OrvelKit::TransportResult> InFlightTransport::send(OrvelKit::HTTPRequest request) {
    return forward(inner_, counts_, std::move(request));
}

OrvelKit::Task<OrvelKit::TransportResult>
InFlightTransport::forward(std::shared_ptr<OrvelKit::HTTPTransport> inner,
                           std::shared_ptr<Counts> counts, OrvelKit::HTTPRequest request) {
    ++counts->inFlight;
    ++counts->sent;
    auto result = co_await inner->send(std::move(request));
    if (--counts->inFlight == 0) {
        auto& waiters = counts->idleWaiters;
        std::erase_if(waiters, [](const auto& waiter) { return waiter.expired(); });
        for (const auto& entry : std::vector(waiters)) {
            if (const auto waiter = entry.lock()) {
                waiter->check(waiter);
            }
        }
    }
    co_return result;
}

OrvelKit::Task<bool> InFlightTransport::idle(OrvelKit::Executor& executor,
                                             OrvelKit::Executor::Duration limit) {
    OrvelKit::Timer deadline;
    auto start = [this, &executor, &deadline, limit](OrvelKit::Completion<bool> done) {
        auto waiter = std::make_shared<IdleWaiter>(executor, counts_);
        waiter->done.emplace(std::move(done));
        counts_->idleWaiters.push_back(waiter);
        waiter->check(waiter);
        deadline = executor.schedule(limit, [waiter] { waiter->finish(false); });
    };
    // A named awaiter: GCC 12 destroys a lambda temporary in a co_await twice.
    auto waiting = OrvelKit::suspendUntil<bool>(std::move(start));
    co_return co_await waiting;
}

} // namespace Orvel::Cli
