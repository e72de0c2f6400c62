// Agents over MCP: the handshake, the sessions, and calls that must be
// refused without storing anything. The happy path with the app model on the
// other side is in the reliability tests (McpAgentTests).

#include "tests/tools/DevServerHarness.h"
#include "tests/tools/McpClient.h"
#include "tools/devserver/McpSessions.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelDev::Testing;

class McpEndpointTest : public ::testing::Test {
protected:
    RunningServer http;
    McpClient mcp{http.port()};
};

TEST_F(McpEndpointTest, HandshakeNegotiatesTheVersionAndListsTheTool) {
    EXPECT_EQ(mcp.handshake("2025-03-26"), "2025-03-26");
    EXPECT_EQ(mcp.handshake("1999-01-01"), "2025-06-18");

    EXPECT_EQ(mcp.request("ping").number("/id"), mcp.lastId);
    const auto tools = mcp.request("tools/list");
    EXPECT_EQ(tools.text("/result/tools/0/name"), "orvel_send");
    EXPECT_EQ(tools.text("/result/tools/0/inputSchema/required/0"), "channel_key");
    EXPECT_EQ(tools.text("/result/tools/0/inputSchema/properties/card/required/0"), "card_key");

    const auto guide = http.get("/llms.txt");
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide->get_header_value("Content-Type"), "text/plain; charset=utf-8");
    EXPECT_NE(guide->body.find("deliver_when"), std::string::npos);
}

TEST_F(McpEndpointTest, SessionsAndOriginsAreChecked) {
    const std::string ping = R"({"jsonrpc":"2.0","id":1,"method":"ping"})";
    EXPECT_EQ(mcp.post(ping).status, 400) << "no session yet";
    mcp.sessionId = "mcp_made_up";
    EXPECT_EQ(mcp.post(ping).status, 404);

    mcp.handshake();
    EXPECT_EQ(mcp.post(ping, {{"Origin", "http://localhost:5173"}}).status, 200);
    EXPECT_EQ(mcp.post(ping, {{"Origin", "https://evil.example"}}).status, 403);
    EXPECT_EQ(mcp.post(ping, {{"MCP-Protocol-Version", "2024-01-01"}}).status, 400);

    httplib::Client raw("127.0.0.1", http.port());
    EXPECT_EQ(raw.Get("/mcp")->status, 405);
    EXPECT_EQ(raw.Delete("/mcp", {{"Mcp-Session-Id", mcp.sessionId}})->status, 200);
    EXPECT_EQ(mcp.post(ping).status, 404) << "the session ended";
}

TEST_F(McpEndpointTest, MalformedCallsAndBadKeysStoreNothing) {
    const Account account = http.account();
    const std::string key = R"("channel_key":")" + account.engagement.token + "\"";
    mcp.handshake();

    struct Case {
        const char* what;
        std::string message;
        int status;
        std::int64_t code; // 0: a tool result flagged as an error
    };
    const auto call = [](const std::string& arguments) {
        return R"({"jsonrpc":"2.0","id":7,"method":"tools/call","params":{"name":"orvel_send","arguments":)" +
               arguments + "}}";
    };
    const Case cases[] = {
        {"not JSON", "{\"jsonrpc\":", 400, -32700},
        {"a batch", "[" + call("{" + key + ",\"title\":\"t\"}") + "]", 400, -32600},
        {"unknown method", R"({"jsonrpc":"2.0","id":7,"method":"tools/run"})", 200, -32601},
        {"unknown tool",
         R"({"jsonrpc":"2.0","id":7,"method":"tools/call","params":{"name":"send","arguments":{}}})",
         200, -32602},
        {"no key", call(R"({"title":"t"})"), 200, -32602},
        {"no title", call("{" + key + "}"), 200, -32602},
        {"blank title", call("{" + key + R"(,"title":"  "})"), 200, -32602},
        {"title not text", call("{" + key + R"(,"title":3})"), 200, -32602},
        {"bad urgency", call("{" + key + R"(,"title":"t","urgency":"urgent"})"), 200, -32602},
        {"misspelt argument", call("{" + key + R"(,"title":"t","stauts":"done"})"), 200, -32602},
        {"card and title", call("{" + key + R"(,"title":"t","card":{}})"), 200, -32602},
        {"card without operation",
         call(
             "{" + key +
             R"(,"card":{"card_key":"k","update_id":"u","definition":{"title":"T","renderer":"metric","fields":[]}}})"),
         200, -32602},
        {"wrong key", call(R"({"channel_key":"orvel_pub_wrong","title":"t"})"), 200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const McpAnswer answer = mcp.post(c.message);
        EXPECT_EQ(answer.status, c.status) << answer.body;
        EXPECT_EQ(answer.errorCode(), c.code) << answer.body;
        EXPECT_EQ(answer.isToolError(), c.code == 0) << answer.body;
    }
    const auto record = http.sync(account.device.deviceToken);
    ASSERT_EQ(record.channels.size(), 1u);
    EXPECT_TRUE(record.channels[0].notifications.empty());
    EXPECT_TRUE(record.channels[0].cardUpdates.empty());
}

TEST(McpSessions, TheOldestSessionGivesWayPastTheCapacity) {
    McpSessions sessions(2);
    const std::string first = sessions.open();
    const std::string second = sessions.open();
    EXPECT_TRUE(sessions.close(second));
    EXPECT_FALSE(sessions.close(second));
    const std::string third = sessions.open();
    EXPECT_TRUE(sessions.contains(first)) << "a closed session left room";
    const std::string fourth = sessions.open();
    EXPECT_FALSE(sessions.contains(first));
    EXPECT_TRUE(sessions.contains(third));
    EXPECT_TRUE(sessions.contains(fourth));
}

} // namespace
} // namespace OrvelDev
