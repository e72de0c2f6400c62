#pragma once

// The public Orvel service and the addresses derived from it. Every address
// of the service that the app shows or hands to agents starts from `origin`.

#include <string>
#include <string_view>

namespace OrvelKit {

struct ServiceAddresses {
    // The public service's base URL, without a trailing slash.
    static constexpr std::string_view origin = "https://orvel.app";

    // The web app; pairing links add their fragment to it.
    static std::string webApp() { return at("/app"); }
    // The MCP endpoint that agents send updates through.
    static std::string agentEndpoint() { return at("/mcp"); }
    // The guidance document for agents.
    static std::string agentGuidance() { return at("/llms.txt"); }

private:
    static std::string at(std::string_view path) {
        std::string address(origin);
        address += path;
        return address;
    }
};

} // namespace OrvelKit
