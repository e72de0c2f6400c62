// The service over HTTP: refusals as JSON errors, and a log without tokens.

#include "tools/devserver/DevServer.h"

#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

TEST(DevServer, RefusesWithAStatusAndAJsonError) {
    RunningServer http;
    ASSERT_TRUE(http.started());
    const auto device = http.call<DeviceCredentials>("/pair/bootstrap", EmptyBody{});

    const struct {
        std::string method, path;
        bool withDevice;
        std::string body;
        int status;
    } cases[] = {
        {"GET", "/sync", false, "", 401},
        {"GET", "/nowhere", true, "", 404},
        {"GET", "/publish", true, "", 405},
        {"POST", "/engage", true, "{", 400},
        {"GET", "/sync?after=a:x", true, "", 400},
        {"GET", "/c/ch_none/pull?after=0", true, "", 404},
    };
    for (const auto& c : cases) {
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
    const auto [device, engagement] = http.account();
    EXPECT_EQ(http.publish(engagement.token, "x"), 1u);
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
