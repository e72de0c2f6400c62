#include "tools/send/Publisher.h"

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"
#include "tools/devserver/DevServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace OrvelSend {
namespace {

using namespace OrvelProtocol;

template <class R>
R answer(const httplib::Result& result) {
    EXPECT_TRUE(result && result->status == 200);
    auto decoded = OrvelKit::Json::decode<R>(result ? result->body : "");
    EXPECT_TRUE(decoded);
    return decoded ? *decoded : R{};
}

TEST(Publisher, PublishesToTheTokensChannelAndReportsRefusals) {
    OrvelDev::DevServer server({});
    auto port = server.start();
    ASSERT_TRUE(port);
    httplib::Client client("127.0.0.1", *port);
    const auto device =
        answer<DeviceCredentials>(client.Post("/pair/bootstrap", "{}", "application/json"));
    const auto engagement = answer<Engagement>(client.Post(
        "/engage", {{"Authorization", "Bearer " + device.deviceToken}}, "{}", "application/json"));

    NotificationInput input;
    input.title = "Build failed";
    SendCommand command{server.baseURL() + "//", engagement.token, input};
    auto published = publish(command);
    ASSERT_TRUE(published) << published.error();
    EXPECT_TRUE(published->starts_with("id=ntf_")) << *published;
    EXPECT_NE(published->find(" seq=1 channel=" + engagement.channel + " created_at="),
              std::string::npos)
        << *published;

    PersistentCardUpdateInput card;
    card.cardKey = "spend";
    card.updateId = "u1";
    card.definition.renderer = "metric";
    card.operation.kind = "snapshot";
    command.payload = card;
    published = publish(command);
    ASSERT_TRUE(published) << published.error();
    EXPECT_NE(published->find(" card_seq=1 "), std::string::npos) << *published;

    command.payload = input;
    command.token = "orvel_pub_wrong";
    published = publish(command);
    ASSERT_FALSE(published);
    EXPECT_EQ(published.error(), "the service answered 401: unknown publish token");

    server.stop();
    command.token = engagement.token;
    published = publish(command);
    ASSERT_FALSE(published);
    EXPECT_TRUE(published.error().starts_with("cannot reach ")) << published.error();
    EXPECT_EQ(published.error().find(engagement.token), std::string::npos);
}

} // namespace
} // namespace OrvelSend
