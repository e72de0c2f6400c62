#pragma once

#include "orvelkit/async/Task.h"
#include "orvelkit/http/HTTPRequest.h"
#include "orvelkit/http/HTTPResponse.h"
#include "orvelkit/http/TransportError.h"
#include "orvelkit/support/Expected.h"

namespace OrvelKit {

using TransportResult = Expected<HTTPResponse, TransportError>;

// Sends one request and delivers its response, whatever the status. Fails only
// when no response arrived (connection, DNS, TLS, time-out, cancellation).
// The awaiting task resumes on its own executor.
class HTTPTransport {
public:
    virtual ~HTTPTransport() = default;
    virtual Task<TransportResult> send(HTTPRequest request) = 0;
};

} // namespace OrvelKit
