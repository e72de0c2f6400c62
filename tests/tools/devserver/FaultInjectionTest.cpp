#include "tests/tools/DevServerHarness.h"
#include "tools/devserver/Fault.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;
using namespace std::chrono_literals;

TEST(FaultRule, ReadsEveryKindWithValuesAndCounts) {
    const std::pair<const char*, Fault> cases[] = {
        {"/sync=status:503", Fault::withStatus(503)},
        {"sync=malformed", Fault::malformedBody()},
        {"/sync=truncated*2", Fault::truncatedBody().only(2)},
        {"/c/x/pull=invalid-notification", Fault::invalidNotification()},
        {"*=delay:1500", Fault::delayed(1500ms)},
        {"/read=close-mid-body*1", Fault::closeMidBody().only(1)},
    };
    for (const auto& [rule, fault] : cases) {
        auto parsed = parseFaultRule(rule);
        ASSERT_TRUE(parsed) << rule << ": " << parsed.error();
        EXPECT_EQ(parsed->second, fault) << rule;
        // The description is the rule's own form, endpoint aside.
        const std::string text = rule;
        EXPECT_EQ(describeFault(fault), text.substr(text.find('=') + 1));
    }
    EXPECT_EQ(parseFaultRule("sync=malformed")->first, "/sync");
    EXPECT_EQ(parseFaultRule("*=malformed")->first, "*");

    for (const char* bad : {"/sync", "=status:500", "/sync=status", "/sync=status:abc",
                            "/sync=status:99", "/sync=malformed:3", "/sync=explode",
                            "/sync=delay:-5", "/sync=truncated*0", "/sync=truncated*x"}) {
        EXPECT_FALSE(parseFaultRule(bad)) << bad;
    }
}

TEST(FaultInjector, LimitedFaultsWearOffAndEndpointsWinOverTheWildcard) {
    FaultInjector faults;
    faults.set("/sync", Fault::withStatus(500).only(2));
    faults.set("*", Fault::malformedBody());
    EXPECT_EQ(faults.take("/sync"), Fault::withStatus(500).only(2));
    EXPECT_EQ(faults.take("/sync")->kind, FaultKind::status);
    EXPECT_EQ(faults.take("/sync"), Fault::malformedBody());
    EXPECT_EQ(faults.take("/read"), Fault::malformedBody());
    EXPECT_EQ(faults.injected(), 4u);
    faults.clear("*");
    EXPECT_FALSE(faults.take("/read"));
    faults.set("/read", Fault::malformedBody().only(0));
    EXPECT_FALSE(faults.take("/read"));
    EXPECT_EQ(faults.injected(), 4u);
}

class FaultyServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(http.started());
        const auto account = http.account("ci");
        device = account.device;
        engagement = account.engagement;
        for (const char* title : {"one", "two", "three"}) {
            http.publish(engagement.token, title);
        }
    }
    std::vector<std::uint64_t> serviceDismissals() {
        http.faults().clearAll();
        return http.sync(device.deviceToken).channels.at(0).dismissedSeqs;
    }

    RunningServer http;
    DeviceCredentials device;
    Engagement engagement;
};

TEST_F(FaultyServer, AStatusFaultRefusesWithoutTouchingTheService) {
    http.faults().set("/dismiss", Fault::withStatus(503).only(1));
    const auto refused =
        http.post("/dismiss", OrvelKit::Json::encode(DismissBody{engagement.channel, 1}).value(),
                  device.deviceToken);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 503);
    EXPECT_TRUE(serviceDismissals().empty());
    // Worn off: the next one goes through.
    http.call<DismissAck>("/dismiss", DismissBody{engagement.channel, 1}, device.deviceToken);
    EXPECT_EQ(serviceDismissals(), std::vector<std::uint64_t>{1});
}

// What the body faults do to an answer, the reliability tests see through the
// app's own transport.
TEST_F(FaultyServer, DelaysAnswerLateAndStopDoesNotWaitForThem) {
    http.faults().set("/healthz", Fault::delayed(300ms).only(1));
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(http.get("/healthz"));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 300ms);

    // release() sends what is held back now.
    http.faults().set("/healthz", Fault::delayed(60s).only(1));
    std::thread released([&] { EXPECT_TRUE(http.get("/healthz")); });
    EXPECT_TRUE(eventually([&] { return http.faults().holding() == 1; })) << "nothing held back";
    http.faults().release();
    released.join();
    EXPECT_EQ(http.faults().holding(), 0u);

    http.faults().set("/healthz", Fault::delayed(60s));
    std::thread waiting([&] { (void)http.get("/healthz"); });
    EXPECT_TRUE(eventually([&] { return http.faults().holding() == 1; })) << "nothing held back";
    const auto stopping = std::chrono::steady_clock::now();
    http.server().stop();
    waiting.join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 10s);
    // Faults are logged by kind and endpoint.
    EXPECT_NE(http.log().find("injecting fault delay:300*1 on /healthz"), std::string::npos)
        << http.log();
}

} // namespace
} // namespace OrvelDev
