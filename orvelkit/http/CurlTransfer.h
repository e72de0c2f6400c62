#pragma once

// One request on its libcurl easy handle: set-up, the received body, and the
// result handed to the waiting task. Used by CurlTransport's worker thread.

#include "orvelkit/async/Completion.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/http/HTTPRequest.h"
#include "orvelkit/http/HTTPTransport.h"

#include <curl/curl.h>

#include <optional>
#include <string>

namespace OrvelKit {

class CurlTransfer {
public:
    CurlTransfer(HTTPRequest request, Completion<TransportResult> completion);
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;
    ~CurlTransfer();

    // Creates and configures the easy handle; the failure when the request
    // cannot be sent as given.
    std::optional<TransportError> prepare(const CurlTransportOptions& options);

    CURL* handle() const { return easy_; }

    // Completes the waiting task with the transfer's outcome.
    void finish(CURLcode result);
    void fail(TransportError error);

private:
    static std::size_t receive(char* data, std::size_t size, std::size_t count, void* self);
    std::optional<TransportError> setHeaders();
    TransportError errorFor(CURLcode code) const;

    HTTPRequest request_;
    Completion<TransportResult> completion_;
    CURL* easy_ = nullptr;
    curl_slist* headers_ = nullptr;
    std::string received_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
};

} // namespace OrvelKit
