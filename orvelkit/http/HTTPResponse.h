#pragma once

#include <string>

namespace OrvelKit {

// `status` is the HTTP status code, or 0 when the answer was not an HTTP
// response (a file: URL). `body` is empty when none came.
struct HTTPResponse {
    int status = 0;
    std::string body;

    bool operator==(const HTTPResponse&) const = default;
};

} // namespace OrvelKit
