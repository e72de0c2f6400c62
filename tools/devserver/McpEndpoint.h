#pragma once

// Agents post over MCP: JSON-RPC 2.0 on the streamable HTTP transport, with
// plain JSON answers (no event streams). It offers one tool, `orvel_send`,
// whose call publishes exactly as POST publish or POST cards/publish does,
// through the same DevService operations, so the same checks apply.
//
//   POST   initialize -> a session (Mcp-Session-Id), then ping, tools/list,
//          tools/call with that header; notifications are answered 202
//   GET    405: the service never opens a stream
//   DELETE ends the session
//
// Requests from a browser page of a foreign origin are refused (a page
// could otherwise reach a service on the loopback interface through DNS
// rebinding); clients that send no Origin, and pages on the loopback host,
// are served. Thread-safe.

#include "tools/devserver/McpSessions.h"
#include "tools/devserver/ServiceError.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelDev {

class DevService;

struct McpRequest {
    std::string_view method; // HTTP method
    std::string_view body;
    std::optional<std::string_view> sessionId;
    std::optional<std::string_view> protocolVersion;
    std::optional<std::string_view> origin;
};

struct McpReply {
    int status = 200;
    std::string body; // a JSON-RPC message, or empty
    std::optional<std::string> sessionId;
    std::optional<std::string> allow; // for 405
};

class McpEndpoint {
public:
    // Runs `call` the way every other endpoint's service call runs (one at a
    // time, the change stored before the answer); fails when it could not be
    // stored, and then nothing may be acknowledged.
    using ServiceRunner =
        std::function<ServiceResult<void>(const std::function<void(DevService&)>& call)>;

    static constexpr std::string_view latestProtocolVersion = "2025-06-18";
    static constexpr std::string_view supportedProtocolVersions[] = {"2025-06-18", "2025-03-26"};
    static constexpr std::string_view toolName = "orvel_send";

    explicit McpEndpoint(ServiceRunner run,
                         std::size_t sessionCapacity = McpSessions::defaultCapacity);

    McpReply handle(const McpRequest& request);

private:
    McpReply post(const McpRequest& request);
    McpReply remove(const McpRequest& request);

    ServiceRunner run_;
    McpSessions sessions_;
};

} // namespace OrvelDev
