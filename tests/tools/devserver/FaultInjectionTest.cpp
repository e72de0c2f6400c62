#include "tests/tools/DevServerHarness.h"
#include "tools/devserver/Fault.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

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
