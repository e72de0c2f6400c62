#pragma once

// A transport that counts the requests in flight, so a short-lived command
// can wait for the work the app model started in the background (read marks,
// dismissals) before it exits.
//
// Used on the executor's thread only, like the app model that calls it. A
// request may finish after the transport is gone: it keeps what it needs.

#include "orvelkit/http/HTTPTransport.h"

#include <cstddef>
#include <functional>
#include <memory>

namespace Orvel::Cli {

class InFlightTransport final : public OrvelKit::HTTPTransport {
public:
    explicit InFlightTransport(std::shared_ptr<OrvelKit::HTTPTransport> inner)
        : inner_(std::move(inner)) {}

    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override;

    std::size_t inFlight() const { return counts_->inFlight; }
    std::size_t sent() const { return counts_->sent; }

    // Called each time the last request in flight has been answered, before
    // its caller resumes; null for none.
    void onIdle(std::function<void()> callback) { counts_->onIdle = std::move(callback); }

private:
    struct Counts {
        std::size_t inFlight = 0;
        std::size_t sent = 0;
        std::function<void()> onIdle;
    };

    static OrvelKit::Task<OrvelKit::TransportResult>
    forward(std::shared_ptr<OrvelKit::HTTPTransport> inner, std::shared_ptr<Counts> counts,
            OrvelKit::HTTPRequest request);

    std::shared_ptr<OrvelKit::HTTPTransport> inner_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

} // namespace Orvel::Cli
