#pragma once

// An in-memory HTTPTransport: records each request and answers at once with
// the standing answer.

#include "orvelkit/http/HTTPTransport.h"

#include <mutex>
#include <vector>

namespace OrvelTest {

class FakeTransport final : public OrvelKit::HTTPTransport {
public:
    // The answer when nothing is scripted; initially 200 with "{}".
    void respond(OrvelKit::TransportResult result);

    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override;

    std::vector<OrvelKit::HTTPRequest> requests() const;

private:
    mutable std::mutex mutex_;
    OrvelKit::TransportResult standing_ = OrvelKit::HTTPResponse{200, "{}"};
    std::vector<OrvelKit::HTTPRequest> requests_;
};

} // namespace OrvelTest
