// The service client against the development service, over real HTTP: the
// paths, headers and JSON forms of both sides have to agree. What each
// operation means is DevServiceTest's concern; here every endpoint is used that
// orvelctl's tests (marks, dismissals, names, rotation, retirement) do not reach.

#include "orvelkit/async/EventLoop.h"
#include "orvelkit/client/OrvelClient.h"
#include "orvelkit/http/CurlTransport.h"
#include "tests/support/Records.h"
#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;
using OrvelKit::ClientResult;

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

    RunningServer http;
    OrvelKit::EventLoop loop;
    OrvelKit::OrvelClient client{http.server().baseURL() + "/",
                                 std::make_shared<OrvelKit::CurlTransport>()};
};

TEST_F(ClientEndToEnd, ADeviceLivesThroughEveryOperation) {
    ASSERT_TRUE(http.started());
    EXPECT_TRUE(ok(client.health()));
    const DeviceCredentials desk = ok(client.bootstrapDevice());
    const Engagement engagement = ok(client.engage(desk.deviceToken, std::nullopt));
    const std::string ch = engagement.channel;
    EXPECT_EQ(engagement.sender, "agent");
    for (const char* title : {"one", "two", "three"}) {
        http.publish(engagement.token, title);
    }
    http.call<CardPublishAck>("/cards/publish", cardUpdate("u1"), engagement.token);

    // Sync with cursors: what is newer than the cursors, in sequence order.
    const SyncResponse sync = ok(client.sync(desk.deviceToken, {{ch, 1}}, {{ch, 1}}));
    ASSERT_EQ(sync.channels.size(), 1u);
    ASSERT_EQ(sync.channels[0].notifications.size(), 2u);
    EXPECT_EQ(sync.channels[0].notifications[0].title, "two");
    EXPECT_EQ(sync.channels[0].notifications[1].title, "three");
    EXPECT_TRUE(sync.channels[0].cardUpdates.empty());
    EXPECT_EQ(sync.channels[0].latestCardSeq, 1u);

    const PullResponse pull = ok(client.pull(ch, engagement.token, 1));
    EXPECT_EQ(OrvelTest::seqs(pull.notifications), (std::vector<std::uint64_t>{2, 3}));

    // A second device paired by code joins the same account.
    const PairingCode code = ok(client.pairingCode(desk.deviceToken));
    const DeviceCredentials phone = ok(client.redeem(code.code));
    EXPECT_EQ(phone.accountId, desk.accountId);
    EXPECT_EQ(status(client.redeem(code.code)), 404);

    // Another account subscribes with the publish token, but cannot manage the channel.
    const DeviceCredentials friendly = ok(client.bootstrapDevice());
    EXPECT_EQ(ok(client.subscribe(friendly.deviceToken, ch, engagement.token)).channel, ch);
    EXPECT_EQ(ok(client.sync(friendly.deviceToken, {}, {})).channels.at(0).owned, false);
    EXPECT_EQ(status(client.rotateKey(friendly.deviceToken, ch, 0)), 403);
    EXPECT_EQ(status(client.sync("orvel_dev_unknown", {}, {})), 401);
}

} // namespace
} // namespace OrvelDev
