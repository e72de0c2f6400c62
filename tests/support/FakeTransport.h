#pragma once

// An in-memory HTTPTransport: records each request and answers at once with
// the next scripted result, or the standing answer when none is scripted.

#include "orvelkit/http/HTTPTransport.h"

#include <deque>
#include <mutex>
#include <vector>

namespace OrvelTest {

class FakeTransport final : public OrvelKit::HTTPTransport {
public:
    // The answer when nothing is scripted; initially 200 with "{}".
    void respond(OrvelKit::TransportResult result);
    // Scripted answers, used once each in order.
    void enqueue(OrvelKit::TransportResult result);

    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override;

    std::vector<OrvelKit::HTTPRequest> requests() const;

private:
    OrvelKit::TransportResult next(OrvelKit::HTTPRequest request);

    mutable std::mutex mutex_;
    OrvelKit::TransportResult standing_ = OrvelKit::HTTPResponse{200, "{}"};
    std::deque<OrvelKit::TransportResult> scripted_;
    std::vector<OrvelKit::HTTPRequest> requests_;
};

} // namespace OrvelTest
