#pragma once

// The addresses of an Orvel service that the app shows or hands to agents,
// all derived from the service's base URL: the configured server's, so that
// an app pointed at a service of its own hands out that service's addresses.

#include <string>
#include <string_view>

namespace OrvelKit {

class ServiceAddresses {
public:
    // The public service's base URL, without a trailing slash.
    static constexpr std::string_view origin = "https://orvel.app";

    // The addresses of the service at `serverURL` (its base URL as configured;
    // trailing slashes are dropped, as for every endpoint).
    explicit ServiceAddresses(std::string_view serverURL = origin) : base_(serverURL) {
        while (base_.ends_with('/')) {
            base_.pop_back();
        }
    }

    // The base URL without trailing slashes.
    const std::string& base() const { return base_; }
    // The web app; pairing links add their fragment to it.
    std::string webApp() const { return at("/app"); }
    // The MCP endpoint that agents send updates through.
    std::string agentEndpoint() const { return at("/mcp"); }
    // The guidance document for agents.
    std::string agentGuidance() const { return at("/llms.txt"); }

private:
    std::string at(std::string_view path) const { return base_ + std::string(path); }

    std::string base_;
};

} // namespace OrvelKit
