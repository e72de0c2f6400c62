// The service client against the development service, over real HTTP: the
// paths, headers and JSON forms of both sides have to agree.

#include "HttpTestSupport.h"
#include "ServiceTestSupport.h"
#include "orvelkit/async/EventLoop.h"
#include "orvelkit/client/OrvelClient.h"
#include "orvelkit/http/CurlTransport.h"
#include "tools/devserver/ServiceRecords.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;
using OrvelKit::ClientResult;
using OrvelKit::OrvelClient;

class ClientEndToEnd : public ::testing::Test {
protected:
    template <class T>
    T ok(OrvelKit::Task<ClientResult<T>> task) {
        auto result = loop.runUntilComplete(std::move(task));
        EXPECT_TRUE(result) << (result ? "" : result.error().description());
        return result ? *result : T{};
    }

    // The service's status for a refused operation, 200 when it succeeded.
    template <class T>
    int status(OrvelKit::Task<ClientResult<T>> task) {
        auto result = loop.runUntilComplete(std::move(task));
        if (result) {
            return 200;
        }
        const auto* error = result.error().orvelError();
        EXPECT_TRUE(error && error->kind() == OrvelKit::OrvelError::Kind::http)
            << result.error().description();
        return error ? error->status() : 0;
    }

    int publish(const std::string& token, const std::string& title) {
        auto result = http.post("/publish", OrvelKit::Json::encode(update(title)).value(), token);
        return result ? result->status : 0;
    }

    RunningServer http;
    OrvelKit::EventLoop loop;
    OrvelClient client{http.server().baseURL() + "/", std::make_shared<OrvelKit::CurlTransport>()};
};

TEST_F(ClientEndToEnd, ADeviceLivesThroughEveryOperation) {
    ASSERT_TRUE(http.started());
    EXPECT_TRUE(ok(client.health()));
    const DeviceCredentials desk = ok(client.bootstrapDevice());
    const Engagement engagement = ok(client.engage(desk.deviceToken, std::nullopt));
    const std::string ch = engagement.channel;
    EXPECT_EQ(engagement.sender, "agent");
    for (const char* title : {"one", "two", "three"}) {
        EXPECT_EQ(publish(engagement.token, title), 200);
    }
    http.call<CardPublishAck>("/cards/publish", cardUpdate("u1"), engagement.token);

    // Sync with cursors: only what is newer than the cursors comes back.
    SyncResponse sync = ok(client.sync(desk.deviceToken, {{ch, 1}}, {{ch, 1}}));
    ASSERT_EQ(sync.channels.size(), 1u);
    ASSERT_EQ(sync.channels[0].notifications.size(), 2u);
    EXPECT_EQ(sync.channels[0].notifications[0].title, "two");
    EXPECT_TRUE(sync.channels[0].cardUpdates.empty());
    EXPECT_EQ(sync.channels[0].latestCardSeq, 1u);
    EXPECT_EQ(sync.channels[0].owned, true);

    // Read and dismiss show up in the next sync.
    EXPECT_EQ(ok(client.markRead(desk.deviceToken, ch, 2)).readSeq, 2u);
    EXPECT_TRUE(ok(client.dismiss(desk.deviceToken, ch, 3)).dismissed);
    EXPECT_EQ(ok(client.renameChannel(desk.deviceToken, ch, "Builds")).name, "Builds");
    sync = ok(client.sync(desk.deviceToken, {{ch, 3}}, {}));
    ASSERT_EQ(sync.channels.size(), 1u);
    EXPECT_TRUE(sync.channels[0].notifications.empty());
    EXPECT_EQ(sync.channels[0].cardUpdates.size(), 1u);
    EXPECT_EQ(sync.channels[0].readSeq, 2u);
    EXPECT_EQ(sync.channels[0].dismissedSeqs, std::vector<std::uint64_t>{3});
    EXPECT_EQ(sync.channels[0].name, "Builds");
    EXPECT_EQ(ok(client.pull(ch, engagement.token, 2)).notifications.size(), 1u);

    // A second device paired by code joins the same account.
    const PairingCode code = ok(client.pairingCode(desk.deviceToken));
    const DeviceCredentials phone = ok(client.redeem(code.code));
    EXPECT_EQ(phone.accountId, desk.accountId);
    EXPECT_EQ(status(client.redeem(code.code)), 404);
    EXPECT_EQ(ok(client.sync(phone.deviceToken, {}, {})).channels.at(0).readSeq, 2u);

    // Another account subscribes with the publish token, but cannot manage the channel.
    const DeviceCredentials friendly = ok(client.bootstrapDevice());
    EXPECT_EQ(ok(client.subscribe(friendly.deviceToken, ch, engagement.token)).channel, ch);
    EXPECT_EQ(ok(client.sync(friendly.deviceToken, {}, {})).channels.at(0).owned, false);
    EXPECT_EQ(status(client.rotateKey(friendly.deviceToken, ch, 0)), 403);

    // Rotation with grace keeps the old key working; without grace it stops at once.
    const KeyRotation graceful = ok(client.rotateKey(desk.deviceToken, ch, 24));
    EXPECT_TRUE(graceful.previousKeysExpireAt);
    EXPECT_EQ(publish(engagement.token, "old key, in grace"), 200);
    EXPECT_EQ(publish(graceful.token, "new key"), 200);
    const KeyRotation abrupt = ok(client.rotateKey(desk.deviceToken, ch, 0));
    EXPECT_FALSE(abrupt.previousKeysExpireAt);
    EXPECT_EQ(publish(engagement.token, "old key"), 401);
    EXPECT_EQ(publish(graceful.token, "second key"), 401);
    EXPECT_EQ(publish(abrupt.token, "newest key"), 200);

    // Retirement removes the channel from every device's sync.
    const RetireAck retired = ok(client.retireChannel(desk.deviceToken, ch));
    EXPECT_EQ(retired.channel, ch);
    EXPECT_TRUE(ok(client.sync(desk.deviceToken, {}, {})).channels.empty());
    EXPECT_TRUE(ok(client.sync(friendly.deviceToken, {}, {})).channels.empty());
    EXPECT_EQ(publish(abrupt.token, "too late"), 410);

    EXPECT_EQ(status(client.sync("orvel_dev_unknown", {}, {})), 401);
}

} // namespace
} // namespace OrvelDev
