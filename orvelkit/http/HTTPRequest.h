#pragma once

#include <map>
#include <optional>
#include <string>

namespace OrvelKit {

// One request as the client builds it. The transport sends the headers
// exactly as given, adding only what HTTP framing needs (Host,
// Content-Length).
struct HTTPRequest {
    std::string url;
    std::string method;
    std::map<std::string, std::string> headers;
    std::optional<std::string> body; // absent for GET

    bool operator==(const HTTPRequest&) const = default;
};

} // namespace OrvelKit
