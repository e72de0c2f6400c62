#pragma once

// libcurl set-up shared by the transport and URL parsing.

#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit::Curl {

// Initialises libcurl once per process; safe to call from any thread.
void ensureInitialized();

// Parses `text` as an absolute URL with libcurl's URL parser and returns its
// string form; nothing when the parser rejects it. The path is taken as it is
// (dot segments are not resolved).
std::optional<std::string> parseURL(std::string_view text);

} // namespace OrvelKit::Curl
