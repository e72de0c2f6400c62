#pragma once

// Where the service listens: "--listen" values and the loopback rule. The
// service speaks plain HTTP; on any other interface its tokens would cross
// the network readable, so a non-loopback address needs explicit consent
// (and a TLS reverse proxy in front).

#include "orvelkit/support/Expected.h"

#include <optional>
#include <string>
#include <string_view>

namespace OrvelDev {

struct ListenAddress {
    std::string host;
    std::optional<int> port;

    bool operator==(const ListenAddress&) const = default;
};

// "HOST", "HOST:PORT", "[IPV6]:PORT" or a bare IPv6 address; the port is 0 to
// 65535.
OrvelKit::Expected<ListenAddress, std::string> parseListenAddress(std::string_view text);

// A port number 0 to 65535.
std::optional<int> parsePort(std::string_view text);

// "localhost", 127.0.0.0/8 and ::1 (also as ::ffff:127.x.y.z).
bool isLoopback(std::string_view host);

} // namespace OrvelDev
