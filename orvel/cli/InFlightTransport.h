#pragma once

// A transport that counts the requests in flight, so a short-lived command
// can wait for the work the app model started in the background (read marks,
// dismissals) before it reports.
//
// Used on the executor's thread only, like the app model that calls it. A
// request may finish after the transport is gone: it keeps what it needs.

#include "orvelkit/async/Executor.h"
#include "orvelkit/async/Task.h"
#include "orvelkit/http/HTTPTransport.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace Orvel::Cli {

class InFlightTransport final : public OrvelKit::HTTPTransport {
public:
    explicit InFlightTransport(std::shared_ptr<OrvelKit::HTTPTransport> inner)
        : inner_(std::move(inner)) {}

    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override;

    std::size_t inFlight() const { return counts_->inFlight; }
    std::size_t sent() const { return counts_->sent; }

    // Completes once no request is in flight, after the code that resumed
    // with the last answer has gone as far as it can without waiting; false
    // when `limit` passed first. Several may wait at once. `executor` is the
    // one the requests resume on.
    OrvelKit::Task<bool> idle(OrvelKit::Executor& executor, OrvelKit::Executor::Duration limit);

private:
    struct IdleWaiter;
    struct Counts {
        std::size_t inFlight = 0;
        std::size_t sent = 0;
        std::vector<std::weak_ptr<IdleWaiter>> idleWaiters;
    };

    static OrvelKit::Task<OrvelKit::TransportResult>
    forward(std::shared_ptr<OrvelKit::HTTPTransport> inner, std::shared_ptr<Counts> counts,
            OrvelKit::HTTPRequest request);

    std::shared_ptr<OrvelKit::HTTPTransport> inner_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

} // namespace Orvel::Cli
