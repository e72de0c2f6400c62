// The framing of every service operation as it reaches a server.

#include "orvelkit/async/EventLoop.h"
#include "orvelkit/client/OrvelClient.h"
#include "orvelkit/http/CurlTransport.h"
#include "tests/support/RecordingServer.h"

#include <gtest/gtest.h>

#include <functional>

using namespace OrvelKit;
using OrvelTest::RecordingServer;
using Headers = std::multimap<std::string, std::string>;

namespace {

struct Exchange {
    std::string name;
    std::function<Task<bool>(const OrvelClient&)> call; // true when the result decoded
    std::string answer;                                 // the server's 200 body
    std::string method;
    std::string target;
    Headers headers;
    std::string body;
};

template <class T>
Task<bool> succeeds(Task<ClientResult<T>> operation) {
    auto result = co_await std::move(operation);
    if (!result) {
        ADD_FAILURE() << result.error();
    }
    co_return result.hasValue();
}

const Headers json = {{"content-type", "application/json"}};
const Headers jsonWithToken = {{"content-type", "application/json"},
                               {"Authorization", "Bearer dev-1"}};
const Headers tokenOnly = {{"Authorization", "Bearer dev-1"}};

// The operations the app model calls (pairing, renaming, rotating and
// retiring channels, dismissing) also go to the development service in the
// orvelctl tests, which fail on any request the service does not take.
std::vector<Exchange> exchanges() {
    using Map = OrvelClient::Cursors;
    const std::string syncAnswer = R"({"channels":[]})";
    return {
        {"health", [](auto& c) { return succeeds(c.health()); }, "", "GET", "/healthz", {}, ""},
        {"pull escapes what a path cannot hold",
         [](auto& c) { return succeeds(c.pull("a b;c?d#e/é", "pub-9", 42)); },
         R"({"latest_seq":42,"notifications":[]})",
         "GET",
         "/c/a%20b%3Bc%3Fd%23e/%C3%A9/pull?after=42",
         {{"Authorization", "Bearer pub-9"}},
         ""},
        {"bootstrapDevice", [](auto& c) { return succeeds(c.bootstrapDevice()); },
         R"({"account_id":"acc","device_token":"dev-1"})", "POST", "/pair/bootstrap", json, "{}"},
        {"subscribe", [](auto& c) { return succeeds(c.subscribe("dev-1", "ch", "pub-9")); },
         R"({"channel":"ch"})", "POST", "/subscribe", jsonWithToken,
         R"({"channel":"ch","token":"pub-9"})"},
        {"engage without sender", [](auto& c) { return succeeds(c.engage("dev-1", std::nullopt)); },
         R"({"channel":"ch","sender":"agent","token":"pub"})", "POST", "/engage", jsonWithToken,
         "{}"},
        {"engage with sender", [](auto& c) { return succeeds(c.engage("dev-1", "codex")); },
         R"({"channel":"ch","sender":"codex","token":"pub"})", "POST", "/engage", jsonWithToken,
         R"({"sender":"codex"})"},
        {"markRead",
         [](auto& c) { return succeeds(c.markRead("dev-1", "ch", 18446744073709551615u)); },
         R"({"channel":"ch","read_seq":18446744073709551615})", "POST", "/read", jsonWithToken,
         R"({"channel":"ch","seq":18446744073709551615})"},
        {"sync with both cursor maps",
         [](auto& c) {
             return succeeds(c.sync("dev-1", Map{{"b", 3}, {"a", 12}}, {{"a", 7}}));
         },
         syncAnswer, "GET", "/sync?after=a:12,b:3&cards_after=a:7", tokenOnly, ""},
        {"sync without cursors", [](auto& c) { return succeeds(c.sync("dev-1", {}, {})); },
         syncAnswer, "GET", "/sync", tokenOnly, ""},
        // Whole items are sorted ("x-y:1" before "x:9"); only what a query
        // cannot hold is escaped.
        {"sync sorts whole items and escapes",
         [](auto& c) {
             return succeeds(
                 c.sync("dev-1", {{"x", 9}, {"x-y", 1}, {"team alpha", 1}, {"q;r&t=u", 2}}, {}));
         },
         syncAnswer, "GET", "/sync?after=q;r&t=u:2,team%20alpha:1,x-y:1,x:9", tokenOnly, ""},
    };
}

} // namespace

TEST(OrvelClientOnTheWire, EveryOperationSendsExactlyItsRequest) {
    RecordingServer server;
    const OrvelClient client(server.baseURL(), std::make_shared<CurlTransport>());
    EventLoop loop;
    for (const auto& exchange : exchanges()) {
        SCOPED_TRACE(exchange.name);
        server.respond({200, exchange.answer});
        const auto before = server.requestCount();
        EXPECT_TRUE(loop.runUntilComplete(exchange.call(client)));
        ASSERT_EQ(server.requestCount(), before + 1);
        const auto request = server.lastRequest();
        EXPECT_EQ(request.method, exchange.method);
        EXPECT_EQ(request.target, exchange.target);
        EXPECT_EQ(request.chosenHeaders, exchange.headers);
        EXPECT_EQ(request.body, exchange.body);
    }
}

TEST(OrvelClientOnTheWire, BaseURLsKeepTheirPathPrefixWhateverTheirTrailingSlashes) {
    RecordingServer server;
    auto transport = std::make_shared<CurlTransport>();
    EventLoop loop;
    server.respond({200, R"({"channels":[]})"});
    for (const std::string suffix : {"", "/", "//", "/prefix", "/prefix/", "/prefix//"}) {
        SCOPED_TRACE(suffix);
        const OrvelClient client(server.baseURL() + suffix, transport);
        EXPECT_TRUE(loop.runUntilComplete(client.sync("dev-1", {}, {})).hasValue());
        const bool prefixed = suffix.find("prefix") != std::string::npos;
        EXPECT_EQ(server.lastRequest().target, prefixed ? "/prefix/sync" : "/sync");
    }
}
