#pragma once

// One log line per request: method, path, status and duration. The query is
// left out, anything that looks like a token is masked and control characters
// are escaped, so the log never carries a secret and one request is one line.

#include <string>
#include <string_view>

namespace OrvelDev {

// The path of a request target without its query, safe to log.
std::string loggablePath(std::string_view target);

// "POST /publish 200 0.4ms"
std::string requestLogLine(std::string_view method, std::string_view target, int status,
                           double milliseconds);

} // namespace OrvelDev
