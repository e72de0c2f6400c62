#include "orvelkit/async/EventLoop.h"
#include "orvelkit/async/ManualExecutor.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/http/CurlTransport.h"
#include "tests/support/RecordingServer.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <thread>

using namespace OrvelKit;
using namespace std::chrono_literals;
using OrvelTest::RecordingServer;

namespace {

struct Outcome {
    TransportResult result;
    std::thread::id resumedOn;
};

Task<Outcome> sendAndNote(HTTPTransport& transport, HTTPRequest request) {
    auto result = co_await transport.send(std::move(request));
    co_return Outcome{std::move(result), std::this_thread::get_id()};
}

TransportResult send(HTTPTransport& transport, HTTPRequest request) {
    EventLoop loop;
    auto outcome = loop.runUntilComplete(sendAndNote(transport, std::move(request)));
    EXPECT_EQ(outcome.resumedOn, std::this_thread::get_id()) << "resumed off the loop's thread";
    return std::move(outcome.result);
}

} // namespace

// What reaches the server for every operation is checked byte for byte in
// client/OrvelClientWireTests.cpp, through this transport.
TEST(CurlTransport, RefusesAHeaderThatWouldEndItsLineEarly) {
    // Refused before anything is sent: nothing listens on port 1, and the
    // error is not a failure to connect.
    CurlTransport transport;
    auto injected = send(transport, {"http://127.0.0.1:1/x",
                                     "GET",
                                     {{"Authorization", "Bearer a\r\nX-Evil: 1"}},
                                     std::nullopt});
    ASSERT_FALSE(injected);
    EXPECT_EQ(injected.error().code(), CURLE_BAD_FUNCTION_ARGUMENT);
}

TEST(CurlTransport, EveryStatusIsAResponseAndRedirectsAreNotFollowed) {
    RecordingServer server;
    CurlTransport transport;
    for (int status : {204, 301, 500}) {
        server.respond({status, status == 204 ? "" : R"({"error":"x"})"});
        auto result = send(transport, {server.baseURL() + "/s", "GET", {}, std::nullopt});
        ASSERT_TRUE(result.hasValue()) << status << ": " << result.error();
        EXPECT_EQ(result->status, status);
        EXPECT_EQ(result->body, status == 204 ? "" : R"({"error":"x"})");
    }
    EXPECT_EQ(server.requestCount(), 3u);
}

TEST(CurlTransport, DestroyingItCancelsEveryTransferOnce) {
    RecordingServer server;
    server.respond({200, "{}", 30s});
    ManualExecutor executor;
    auto transport = std::make_unique<CurlTransport>();
    std::vector<TransportResult> results;
    auto collect = [&](TransportResult result) { results.push_back(std::move(result)); };

    spawn(executor, transport->send({server.baseURL() + "/1", "GET", {}, std::nullopt}), collect);
    spawn(executor, transport->send({server.baseURL() + "/2", "GET", {}, std::nullopt}), collect);
    auto late = transport->send({server.baseURL() + "/3", "GET", {}, std::nullopt});
    executor.runUntilIdle();
    ASSERT_TRUE(server.waitForRequests(2));

    transport.reset();
    spawn(executor, std::move(late), collect); // started after the transport is gone
    ASSERT_TRUE(executor.runUntil([&] { return results.size() == 3; }));
    executor.runUntilIdle();

    ASSERT_EQ(results.size(), 3u);
    for (const auto& result : results) {
        ASSERT_FALSE(result);
        EXPECT_TRUE(result.error().isCancellation()) << result.error();
    }
    EXPECT_EQ(server.requestCount(), 2u);
}
