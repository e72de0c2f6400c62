#pragma once

// HTTPTransport over libcurl.
//
// One worker thread drives a curl multi handle with one easy transfer per
// request; callers are resumed on their own executors and never wait on the
// network. Headers go out exactly as given: libcurl's own defaults (Accept,
// Expect, Content-Type of a POST) are suppressed unless the request names
// them. Redirects are not followed; only http, https and file URLs are
// allowed; TLS peers are verified.
//
// Destroying the transport cancels the transfers in flight: each completes
// once, with a cancellation failure.

#include "orvelkit/http/HTTPTransport.h"

#include <chrono>
#include <memory>

namespace OrvelKit {

struct CurlTransportOptions {
    // Limit for establishing the connection (including TLS).
    std::chrono::seconds connectTimeout{60};
    // A transfer fails after this long without receiving data.
    std::chrono::seconds idleTimeout{60};
};

class CurlTransport final : public HTTPTransport {
public:
    explicit CurlTransport(CurlTransportOptions options = {});
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;
    ~CurlTransport() override;

    Task<TransportResult> send(HTTPRequest request) override;

private:
    class Engine;
    static Task<TransportResult> sendThrough(std::weak_ptr<Engine> engine, HTTPRequest request);

    std::shared_ptr<Engine> engine_;
};

} // namespace OrvelKit
