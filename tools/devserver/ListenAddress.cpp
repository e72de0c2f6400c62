#include "tools/devserver/ListenAddress.h"

#include <arpa/inet.h>
#include <charconv>
#include <cstring>

namespace OrvelDev {

std::optional<int> parsePort(std::string_view text) {
    int port = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || port < 0 ||
        port > 65535) {
        return std::nullopt;
    }
    return port;
}

OrvelKit::Expected<ListenAddress, std::string> parseListenAddress(std::string_view text) {
    using OrvelKit::unexpected;
    ListenAddress address;
    std::string_view portText;
    bool hasPort = false;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return unexpected("a missing ] in " + std::string(text));
        }
        address.host = text.substr(1, close - 1);
        const auto rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                return unexpected("unexpected text after ] in " + std::string(text));
            }
            portText = rest.substr(1);
            hasPort = true;
        }
    } else if (const auto colon = text.find(':');
               colon != std::string_view::npos &&
               text.find(':', colon + 1) == std::string_view::npos) {
        address.host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        hasPort = true;
    } else {
        // No colon, or several: a host name, an IPv4 address or a bare IPv6 address.
        address.host = text;
    }
    if (address.host.empty()) {
        return unexpected("no address in " + std::string(text));
    }
    if (hasPort) {
        address.port = parsePort(portText);
        if (!address.port) {
            return unexpected("the port in " + std::string(text) +
                              " is not a number from 0 to 65535");
        }
    }
    return address;
}

bool isLoopback(std::string_view host) {
    const std::string text(host);
    if (text == "localhost") {
        return true;
    }
    in_addr v4{};
    if (::inet_pton(AF_INET, text.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    if (::inet_pton(AF_INET6, text.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_LOOPBACK(&v6)) {
            return true;
        }
        return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
    }
    return false;
}

} // namespace OrvelDev
