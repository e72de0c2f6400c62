#include "tools/devserver/DevService.h"

#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

class DevServiceTest : public ::testing::Test {
protected:
    TimePoint now = fromMillis(1'800'000'000'000);
    DevService service{[this] { return now; }};

    DeviceCredentials owner = value(service.bootstrap());
    Engagement channel = value(service.engage(owner.deviceToken, EngageBody{"builder"}));
};

// Marks reaching the account's other devices is ActionCommands' read-all.
TEST_F(DevServiceTest, ReadMarksRiseOnlyUpToTheNewestUpdate) {
    for (int i = 0; i < 3; ++i) {
        value(service.publish(channel.token, update("step")));
    }
    EXPECT_EQ(value(service.markRead(owner.deviceToken, {channel.channel, 2})).readSeq, 2u);
    EXPECT_EQ(value(service.markRead(owner.deviceToken, {channel.channel, 1})).readSeq, 2u);
    // A mark past the newest update would make future updates arrive read.
    EXPECT_EQ(value(service.markRead(owner.deviceToken, {channel.channel, 99})).readSeq, 3u);

    EXPECT_EQ(status(service.dismiss(owner.deviceToken, {channel.channel, 0})), 404);
    EXPECT_EQ(status(service.dismiss(owner.deviceToken, {channel.channel, 5})), 404);
}

// How rotation and its grace period look from orvelctl is ActionCommands';
// here only who may rotate.
TEST_F(DevServiceTest, OnlyTheOwnerRotatesAKey) {
    const DeviceCredentials reader = value(service.bootstrap());
    value(service.subscribe(reader.deviceToken, {channel.channel, channel.token}));
    EXPECT_EQ(status(service.rotateKey(reader.deviceToken, {channel.channel, 0})), 403);
    const KeyRotation rotated = value(service.rotateKey(owner.deviceToken, {channel.channel, 0}));
    EXPECT_EQ(status(service.publish(channel.token, update("old key"))), 401);
    EXPECT_EQ(status(service.publish(rotated.token, update("new key"))), 200);
}

// Retirement, dismissals and the channels a sync lists are seen end to end
// through orvelctl (ActionCommands).
TEST_F(DevServiceTest, TokensAreChecked) {
    const Engagement second = value(service.engage(owner.deviceToken, EngageBody{}));
    EXPECT_EQ(status(service.sync(channel.token, {}, {})), 401) << "a publish token is no device";

    NotificationInput elsewhere = update("x");
    elsewhere.channel = second.channel;
    EXPECT_EQ(status(service.publish(channel.token, elsewhere)), 403);
    elsewhere.channel = channel.channel;
    EXPECT_EQ(status(service.publish(channel.token, elsewhere)), 200);
    EXPECT_EQ(status(service.publish(channel.token, update("  "))), 400);

    EXPECT_EQ(status(service.pull(second.token, channel.channel, 0)), 403);
    const DeviceCredentials stranger = value(service.bootstrap());
    EXPECT_EQ(status(service.pull(stranger.deviceToken, channel.channel, 0)), 403);
    EXPECT_EQ(status(service.subscribe(stranger.deviceToken, {channel.channel, second.token})),
              403);
}

// Restoring what was saved is every orvelctl test's seeded service and
// ServiceStorage's restarts; here the state a restore must refuse.
TEST_F(DevServiceTest, StateRestoresIntoAnEqualServiceAndRejectsInconsistentState) {
    value(service.publish(channel.token, update("kept")));
    DevService copy{[this] { return now; }};
    ASSERT_TRUE(copy.restore(service.state()));
    EXPECT_EQ(copy.state(), service.state());
    value(copy.publish(channel.token, update("after restore")));

    DevState broken = service.state();
    broken.devices[0].accountId = "acct_missing";
    EXPECT_FALSE(copy.restore(broken));
    broken = service.state();
    broken.channels[0].notifications.push_back(broken.channels[0].notifications[0]);
    EXPECT_FALSE(copy.restore(broken)) << "sequence numbers must rise";
    EXPECT_EQ(copy.state().channels[0].notifications.size(), 2u)
        << "a failed restore changes nothing";
}

} // namespace
} // namespace OrvelDev
