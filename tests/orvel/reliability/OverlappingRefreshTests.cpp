// Refreshes are not serialised: a slow one may still be on its way when a
// later one has already brought a newer picture. The model must neither
// undo the newer picture with the older answer nor lose what was done
// locally while the slow answer was on its way.

#include "orvelkit/async/Spawn.h"
#include "tests/orvel/reliability/ReliabilityFixture.h"
#include "tools/devserver/Fault.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace OrvelTest {
namespace {

using namespace std::chrono_literals;
using OrvelDev::Fault;

class OverlappingRefreshes : public ReliabilityTest {
protected:
    // Starts a refresh whose answer the service makes now (with what it
    // knows now) and holds back until `release()`.
    void startSlowRefresh() {
        service.faults().set("/sync", Fault::delayed(60s).only(1));
        OrvelKit::spawn(live->loop(), model().refresh(), [this] { slowDone = true; });
        ASSERT_TRUE(live->runUntil([&] { return service.faults().holding() == 1; }));
    }
    void finishSlowRefresh() {
        service.faults().release();
        ASSERT_TRUE(live->runUntil([&] { return slowDone; }));
    }
    // A channel the user creates while the slow answer is held back.
    std::string createSecondChannel() {
        live->run(model().createEngagement());
        EXPECT_TRUE(model().engagement());
        extraSecrets.push_back(model().engagement()->token);
        return model().engagement()->channel;
    }
    bool configHas(const std::string& id) {
        return std::ranges::any_of(model().config().channels,
                                   [&](const auto& entry) { return entry.channel == id; });
    }

    bool slowDone = false;
};

TEST_F(OverlappingRefreshes, AnOlderAnswerIsDroppedAndLocalActionsMeanwhileStand) {
    publish(3);
    startSlowRefresh();
    // While it is on its way: a dismissal and a read mark on what is held,
    // and the user's new channel, whose own refresh overtakes it.
    model().dismiss(idOf(1));
    dismissed.insert(1);
    model().markAllRead();
    publish(1);
    const auto second = createSecondChannel();
    ASSERT_FALSE(model().lastError()) << *model().lastError();
    delivered = published;
    const auto newer = model().inbox();

    // The held answer knows neither the new channel nor the last update.
    finishSlowRefresh();
    EXPECT_FALSE(model().lastError());
    EXPECT_EQ(model().inbox(), newer);
    EXPECT_TRUE(configHas(second));
    EXPECT_EQ(live->savedConfig().channels.size(), 2u);
    expectNothingLost();
    EXPECT_TRUE(serviceShows([](const OrvelProtocol::ChannelSync& record) {
        return record.dismissedSeqs == std::vector<std::uint64_t>{1, 2} && record.readSeq >= 5;
    }));
    expectRecovery();
}

TEST_F(OverlappingRefreshes, ALateAnswerKeepsAChannelCreatedAfterItWasAskedFor) {
    startSlowRefresh();
    // The new channel's own refresh fails, so the held answer is the newest
    // the model gets; it was made before the channel existed.
    service.faults().set("/sync", Fault::withStatus(503).only(1));
    const auto second = createSecondChannel();
    EXPECT_EQ(model().lastError(), "http(status: 503)");
    ASSERT_TRUE(configHas(second));

    finishSlowRefresh();
    EXPECT_FALSE(model().lastError());
    // Its publish token is shown only once: losing it from the
    // configuration would lose it for good.
    EXPECT_TRUE(configHas(second));
    EXPECT_TRUE(configHas(channel));
    EXPECT_EQ(live->savedConfig(), model().config());

    // The next refresh sees the channel at the service and keeps it.
    synced();
    EXPECT_TRUE(configHas(second));
    EXPECT_NE(model().inbox().channel(second), nullptr);
    EXPECT_EQ(live->savedConfig().channels.size(), 2u);
}

} // namespace
} // namespace OrvelTest
