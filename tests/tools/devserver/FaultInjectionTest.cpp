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
        {"/sync=truncated*2", Fault::truncatedBody().only(2)},
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

    for (const char* bad : {"/sync", "=status:500", "/sync=status:99", "/sync=malformed:3",
                            "/sync=explode", "/sync=truncated*0"}) {
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

// What the body faults and delays do to an answer, the reliability tests see
// through the app's own transport.
TEST(FaultyServer, AStatusFaultRefusesWithoutTouchingTheService) {
    RunningServer http;
    const auto [device, engagement] = http.account();
    http.publish(engagement.token, "one");
    const auto dismissals = [&] {
        http.faults().clearAll();
        return http.sync(device.deviceToken).channels.at(0).dismissedSeqs;
    };
    http.faults().set("/dismiss", Fault::withStatus(503).only(1));
    const auto refused =
        http.post("/dismiss", OrvelKit::Json::encode(DismissBody{engagement.channel, 1}).value(),
                  device.deviceToken);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 503);
    EXPECT_TRUE(dismissals().empty());
    // Worn off: the next one goes through.
    http.call<DismissAck>("/dismiss", DismissBody{engagement.channel, 1}, device.deviceToken);
    EXPECT_EQ(dismissals(), std::vector<std::uint64_t>{1});
}

} // namespace
} // namespace OrvelDev
