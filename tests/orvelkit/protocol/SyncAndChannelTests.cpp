// Sync responses, channel and key results, and the request bodies.

#include "orvelkit/protocol/Protocol.h"
#include "tests/support/RecordGenerator.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

TEST(ChannelSyncRecord, OnlyChannelCursorsAndNotificationsAreRequired) {
    auto sync =
        decode<ChannelSync>(R"({"channel":"c","latest_seq":9,"notifications":[],"read_seq":4})");
    ASSERT_TRUE(sync) << sync.error();
    EXPECT_EQ(*sync, (ChannelSync{{}, "c", {}, 0, 9, std::nullopt, {}, std::nullopt, 4}));
    EXPECT_EQ(encode(*sync).value(),
              R"({"card_updates":[],"channel":"c","dismissed_seqs":[],"latest_card_seq":0,)"
              R"("latest_seq":9,"notifications":[],"read_seq":4})");
}

TEST(ChannelSyncRecord, OwnedFalseIsDistinctFromMissing) {
    const std::string base = R"({"channel":"c","latest_seq":1,"notifications":[],"read_seq":0)";
    EXPECT_EQ(decode<ChannelSync>(base + "}")->owned, std::nullopt);
    EXPECT_EQ(decode<ChannelSync>(base + R"(,"owned":null})")->owned, std::nullopt);
    EXPECT_EQ(decode<ChannelSync>(base + R"(,"owned":false})")->owned, false);
    EXPECT_EQ(decode<ChannelSync>(base + R"(,"owned":true})")->owned, true);

    ChannelSync sync = *decode<ChannelSync>(base + R"(,"owned":false,"name":"N"})");
    EXPECT_NE(encode(sync).value().find(R"("owned":false)"), std::string::npos);
    sync.owned.reset();
    EXPECT_EQ(encode(sync).value().find("owned"), std::string::npos);
}

TEST(SyncResponseRecord, OneBadNotificationFailsTheWholeResponseNamingItsPath) {
    OrvelTest::RecordGenerator generator(3);
    SyncResponse response = generator.syncResponse(4 * 20, 4);
    std::string json = encode(response).value();
    ASSERT_TRUE(decode<SyncResponse>(json));

    // Break the urgency of the 18th notification of the 4th channel.
    Notification& target = response.channels[3].notifications[17];
    const std::string marker = "\"id\":\"" + target.id + "\"";
    const auto at = json.find("\"urgency\":\"", json.find(marker));
    json.replace(at, json.find('"', at + 11) - at + 1, R"("urgency":"urgent")");
    auto decoded = decode<SyncResponse>(json);
    ASSERT_FALSE(decoded);
    EXPECT_EQ(decoded.error().description(),
              R"(channels[3].notifications[17].urgency: "urgent" is not one of low, normal, )"
              R"(high, critical)");
}

TEST(ChannelRecords, EngagementKeyRotationAndPairing) {
    EXPECT_EQ(decode<Engagement>(R"({"channel":"c","sender":"agent","token":"tok"})").value(),
              (Engagement{"c", std::nullopt, "agent", "tok"}));

    auto rotation =
        decode<KeyRotation>(R"({"channel":"c","key_id":"k2","sender":"s",)"
                            R"("token":"t","previous_keys_expire_at":"2025-07-02T00:00:00Z"})");
    ASSERT_TRUE(rotation);
    EXPECT_EQ(rotation->previousKeysExpireAt, "2025-07-02T00:00:00Z");

    EXPECT_EQ(decode<PairingCode>(R"({"code":"ABCD-1234","expires_in":600})").value(),
              (PairingCode{"ABCD-1234", 600}));
    EXPECT_EQ(decode<DeviceCredentials>(R"({"account_id":"a","device_token":"d"})").value(),
              (DeviceCredentials{"a", "d"}));
}

// The other request bodies are checked byte for byte on the wire
// (client/OrvelClientWireTests.cpp).
TEST(RequestBodies, EmptyAndPushBodies) {
    EXPECT_EQ(encode(EmptyBody{}).value(), "{}");
    EXPECT_EQ(encode(PushRegistration{PushPlatform::apns, "t"}).value(),
              R"({"platform":"apns","token":"t"})");
}
