#pragma once

// An MCP client as an agent runs one against the service: JSON-RPC 2.0 over
// the streamable HTTP transport, the session header carried after
// initialize. Answers are read by JSON pointer ("/result/structuredContent/seq").

#include <gtest/gtest.h>
#include <httplib.h>
#include <simdjson.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelDev::Testing {

struct McpAnswer {
    int status = 0;
    std::string body;

    std::optional<std::string> text(std::string_view pointer) const {
        std::string_view value;
        if (element(pointer).get(value)) {
            return std::nullopt;
        }
        return std::string(value);
    }
    std::optional<std::int64_t> number(std::string_view pointer) const {
        std::int64_t value = 0;
        if (element(pointer).get(value)) {
            return std::nullopt;
        }
        return value;
    }
    // The JSON-RPC error code, 0 for none.
    std::int64_t errorCode() const { return number("/error/code").value_or(0); }
    bool isToolError() const {
        bool value = false;
        return !element("/result/isError").get(value) && value;
    }

private:
    simdjson::simdjson_result<simdjson::dom::element> element(std::string_view pointer) const {
        thread_local simdjson::dom::parser parser;
        return parser.parse(body).at_pointer(pointer);
    }
};

class McpClient {
public:
    explicit McpClient(int port) : http_("127.0.0.1", port) { http_.set_read_timeout(30, 0); }

    // A raw message; `headers` beside the session's.
    McpAnswer post(const std::string& message, httplib::Headers headers = {}) {
        if (!sessionId.empty()) {
            headers.emplace("Mcp-Session-Id", sessionId);
        }
        headers.emplace("Accept", "application/json, text/event-stream");
        auto result = http_.Post("/mcp", headers, message, "application/json");
        EXPECT_TRUE(result) << "no answer from /mcp";
        return result ? McpAnswer{result->status, result->body} : McpAnswer{};
    }

    McpAnswer request(const std::string& method, const std::string& params = "{}") {
        return post(R"({"jsonrpc":"2.0","id":)" + std::to_string(++lastId) + R"(,"method":")" +
                    method + R"(","params":)" + params + "}");
    }

    // initialize and notifications/initialized; the protocol version agreed.
    std::string handshake(const std::string& version = "2025-06-18") {
        sessionId.clear();
        auto result = http_.Post(
            "/mcp",
            R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"protocolVersion":")" +
                version + R"(","capabilities":{},"clientInfo":{"name":"test","version":"1"}}})",
            "application/json");
        EXPECT_TRUE(result && result->status == 200);
        if (!result) {
            return {};
        }
        sessionId = result->get_header_value("Mcp-Session-Id");
        EXPECT_FALSE(sessionId.empty());
        EXPECT_EQ(post(R"({"jsonrpc":"2.0","method":"notifications/initialized"})").status, 202);
        return McpAnswer{result->status, result->body}.text("/result/protocolVersion").value_or("");
    }

    // tools/call of orvel_send with `arguments` (a JSON object).
    McpAnswer send(const std::string& arguments) {
        return request("tools/call", R"({"name":"orvel_send","arguments":)" + arguments + "}");
    }

    std::string sessionId;
    int lastId = 0;

private:
    httplib::Client http_;
};

} // namespace OrvelDev::Testing
