// What one client may ask of the service, and where it may listen.

#include "tests/tools/DevServerHarness.h"
#include "tools/devserver/ListenAddress.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

TEST(ServiceLimits, RefusalsNameTheLimitInAJsonError) {
    DevServerOptions options;
    options.limits.maxRequestBytes = 1024;
    options.limits.maxTitleChars = 10;
    options.limits.maxTextChars = 20;
    options.limits.maxLabelChars = 20;
    options.limits.publishesPerMinute = 60;
    options.limits.publishBurst = 2;
    options.limits.maxChannelsPerAccount = 1;
    RunningServer http(std::move(options));
    ASSERT_TRUE(http.started());
    const auto [device, engagement] = http.account();
    const auto publish = [&](const std::string& fields) {
        return http.post("/publish", R"({"channel":"",)" + fields + "}", engagement.token);
    };
    const std::string tenAccents = "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9";

    // In order: the rate limit counts the two accepted publishes.
    const struct {
        std::function<httplib::Result()> request;
        int status;
        std::string message; // part of the error
    } cases[] = {
        {[&] { return publish(R"("title":"x","body":")" + std::string(2000, 'b') + "\""); }, 413,
         "too large"},
        {[&] { return publish(R"("title":")" + tenAccents + "!\""); }, 400, "title is longer"},
        {[&] { return publish(R"("title":"x","details":")" + std::string(21, 'd') + "\""); }, 400,
         "details is longer than 20"},
        {[&] {
             return publish(R"("title":"x","fields":[{"label":"l","value":")" +
                            std::string(30, 'v') + "\"}]");
         },
         400, "fields[0] is longer"},
        {[&] { return publish(R"("title":")" + tenAccents + "\""); }, 200, ""},
        {[&] { return publish(R"("title":"x","body":")" + tenAccents + tenAccents + "\""); }, 200,
         ""},
        {[&] { return publish(R"("title":"x")"); }, 429, "too many publishes"},
        {[&] { return http.post("/engage", "{}", device.deviceToken); }, 403, "1 channels"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto result = cases[i].request();
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, cases[i].status) << result->body;
        if (cases[i].status != 200) {
            const auto error = OrvelKit::Json::decode<ErrorAnswer>(result->body);
            ASSERT_TRUE(error) << result->body;
            EXPECT_NE(error->error.find(cases[i].message), std::string::npos) << error->error;
        }
        if (cases[i].status == 429) {
            EXPECT_EQ(result->get_header_value("Retry-After"), "1");
        }
    }
}

TEST(ServiceLimits, ListensBeyondLoopbackOnlyWhenAllowed) {
    const struct {
        std::string host;
        bool loopback;
    } hosts[] = {{"127.0.0.1", true}, {"127.8.9.1", true},        {"::1", true},
                 {"localhost", true}, {"::ffff:127.0.0.1", true}, {"0.0.0.0", false},
                 {"::", false},       {"192.168.1.20", false},    {"example.org", false}};
    for (const auto& [host, loopback] : hosts) {
        EXPECT_EQ(isLoopback(host), loopback) << host;
    }
    DevServerOptions options;
    options.host = "0.0.0.0";
    DevServer refused(options);
    const auto port = refused.start();
    ASSERT_FALSE(port);
    EXPECT_NE(port.error().find("--allow-remote"), std::string::npos) << port.error();
    options.allowRemote = true;
    DevServer allowed(options);
    EXPECT_TRUE(allowed.start());
}

} // namespace
} // namespace OrvelDev
