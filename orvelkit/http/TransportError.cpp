#include "orvelkit/http/TransportError.h"

#include <curl/curl.h>

namespace OrvelKit {

TransportError TransportError::cancelled() {
    return TransportError(CURLE_ABORTED_BY_CALLBACK,
                          std::string(curl_easy_strerror(CURLE_ABORTED_BY_CALLBACK)) +
                              ": the transfer was cancelled");
}

bool TransportError::isCancellation() const {
    return code_ == CURLE_ABORTED_BY_CALLBACK;
}

} // namespace OrvelKit
