#include "tools/devserver/DevServer.h"

#include "HttpTestSupport.h"
#include "ServiceTestSupport.h"
#include "orvelkit/protocol/Protocol.h"
#include "tools/devserver/ServiceRecords.h"

#include <gtest/gtest.h>

#include <regex>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

TEST(DevServer, ServesADeviceFromBootstrapToSync) {
    RunningServer http;
    ASSERT_TRUE(http.started());
    auto health = http.get("/healthz");
    ASSERT_TRUE(health);
    EXPECT_EQ(health->body, R"({"ok":true})");

    const auto device = http.call<DeviceCredentials>("/pair/bootstrap", EmptyBody{});
    const auto engagement = http.call<Engagement>("/engage", EngageBody{"ci"}, device.deviceToken);
    EXPECT_EQ(engagement.sender, "ci");
    const std::string& ch = engagement.channel;

    NotificationInput input = update("Build failed");
    input.fields = {{"branch", "main"}};
    const auto ack = http.call<PublishAck>("/publish", input, engagement.token);
    EXPECT_EQ(ack.seq, 1u);
    EXPECT_EQ(ack.channel, ch);
    EXPECT_TRUE(
        std::regex_match(ack.createdAt, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")))
        << ack.createdAt;
    EXPECT_EQ(
        http.call<CardPublishAck>("/cards/publish", cardUpdate("u1"), engagement.token).cardSeq,
        1u);
    http.call<PublishAck>("/publish", update("Build fixed"), engagement.token);

    auto sync = RunningServer::answer<SyncResponse>(
        http.get("/sync?after=" + ch + ":1&cards_after=" + ch + "%3A0", device.deviceToken));
    ASSERT_EQ(sync.channels.size(), 1u);
    ASSERT_EQ(sync.channels[0].notifications.size(), 1u);
    EXPECT_EQ(sync.channels[0].notifications[0].title, "Build fixed");
    EXPECT_EQ(sync.channels[0].notifications[0].sender, "ci");
    EXPECT_EQ(sync.channels[0].cardUpdates.size(), 1u);

    EXPECT_EQ(http.call<ReadAck>("/read", ReadBody{ch, 2}, device.deviceToken).readSeq, 2u);
    EXPECT_TRUE(
        http.call<DismissAck>("/dismiss", DismissBody{ch, 1}, device.deviceToken).dismissed);
    sync = RunningServer::answer<SyncResponse>(http.get("/sync", device.deviceToken));
    ASSERT_EQ(sync.channels.size(), 1u);
    EXPECT_EQ(sync.channels[0].notifications.size(), 2u);
    EXPECT_EQ(sync.channels[0].readSeq, 2u);
    EXPECT_EQ(sync.channels[0].dismissedSeqs, std::vector<std::uint64_t>{1});

    const auto pull = RunningServer::answer<PullResponse>(
        http.get("/c/" + ch + "/pull?after=1", engagement.token));
    EXPECT_EQ(pull.latestSeq, 2u);
    ASSERT_EQ(pull.notifications.size(), 1u);
    EXPECT_EQ(pull.notifications[0].seq, 2u);
}

struct Refusal {
    std::string method;
    std::string path;
    bool withDevice;
    std::string body;
    int status;
};

TEST(DevServer, RefusesWithAStatusAndAJsonError) {
    RunningServer http;
    ASSERT_TRUE(http.started());
    const auto device = http.call<DeviceCredentials>("/pair/bootstrap", EmptyBody{});

    const std::vector<Refusal> cases{
        {"GET", "/sync", false, "", 401},
        {"POST", "/engage", false, "{}", 401},
        {"GET", "/nowhere", true, "", 404},
        {"GET", "/publish", true, "", 405},
        {"POST", "/engage", true, "{", 400},
        {"POST", "/engage", true, "[]", 400},
        {"POST", "/read", true, R"({"channel":"x"})", 400},
        {"POST", "/keys/rotate", true, R"({"channel":"x","grace_hours":256})", 400},
        {"POST", "/read", true, R"({"channel":"ch_none","seq":1})", 404},
        {"GET", "/sync?after=a:x", true, "", 400},
        {"GET", "/sync?after=a%ZZ:1", true, "", 400},
        {"GET", "/sync?after=a:1&after=b:2", true, "", 400},
        {"GET", "/c/ch_none/pull?after=-1", true, "", 400},
        {"GET", "/c/ch_none/pull?after=0", true, "", 404},
        {"POST", "/publish", false, std::string(5 * 1024 * 1024, ' '), 413},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.method + " " + c.path);
        const std::string token = c.withDevice ? device.deviceToken : "";
        auto result =
            c.method == "GET" ? http.get(c.path, token) : http.post(c.path, c.body, token);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        auto error = OrvelKit::Json::decode<ErrorAnswer>(result->body);
        ASSERT_TRUE(error) << result->body;
        EXPECT_FALSE(error->error.empty());
        if (c.status == 401) {
            EXPECT_EQ(result->get_header_value("WWW-Authenticate"), "Bearer");
        }
    }
}

TEST(DevServer, LogsOneLinePerRequestWithoutTokens) {
    RunningServer http;
    ASSERT_TRUE(http.started());
    const auto device = http.call<DeviceCredentials>("/pair/bootstrap", EmptyBody{});
    const auto engagement = http.call<Engagement>("/engage", EngageBody{}, device.deviceToken);
    http.call<PublishAck>("/publish", update("x"), engagement.token);
    http.get("/c/" + engagement.channel + "/pull?after=0", engagement.token);
    http.get("/" + engagement.token + "%0aforged", device.deviceToken);
    http.server().stop();

    const std::string log = http.log();
    EXPECT_EQ(log.find(device.deviceToken.substr(10)), std::string::npos) << log;
    EXPECT_EQ(log.find(engagement.token.substr(10)), std::string::npos) << log;
    EXPECT_EQ(log.find("after="), std::string::npos) << "queries are not logged";
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5) << log;
    EXPECT_NE(log.find("POST /publish 200 "), std::string::npos) << log;
    EXPECT_NE(log.find("GET /orvel_pub_***\\x0aforged 404 "), std::string::npos) << log;
}

} // namespace
} // namespace OrvelDev
