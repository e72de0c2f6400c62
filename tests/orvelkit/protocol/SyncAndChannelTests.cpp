// Sync responses, channel and key results, and the request bodies.

#include "orvelkit/protocol/Protocol.h"
#include "tests/support/RecordGenerator.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

namespace {

template <class T>
std::string failure(std::string_view json) {
    auto result = decode<T>(json);
    return result ? "decoded" : result.error().description();
}

} // namespace

TEST(ChannelSyncRecord, OnlyChannelCursorsAndNotificationsAreRequired) {
    auto sync =
        decode<ChannelSync>(R"({"channel":"c","latest_seq":9,"notifications":[],"read_seq":4})");
    ASSERT_TRUE(sync) << sync.error();
    EXPECT_EQ(*sync, (ChannelSync{{}, "c", {}, 0, 9, std::nullopt, {}, std::nullopt, 4}));
    EXPECT_EQ(encode(*sync).value(),
              R"({"card_updates":[],"channel":"c","dismissed_seqs":[],"latest_card_seq":0,)"
              R"("latest_seq":9,"notifications":[],"read_seq":4})");

    EXPECT_EQ(
        failure<SyncResponse>(R"({"channels":[{"channel":"c","latest_seq":9,"read_seq":4}]})"),
        "channels[0].notifications: required key is missing");
    EXPECT_EQ(failure<SyncResponse>("{}"), "channels: required key is missing");
    EXPECT_EQ(failure<ChannelSync>(R"({"channel":"c","latest_seq":9,"notifications":[],)"
                                   R"("read_seq":4,"dismissed_seqs":[3,-4]})"),
              "dismissed_seqs[1]: -4 is not an unsigned 64-bit integer");
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

TEST(SyncResponseRecord, PathsThroughCardUpdates) {
    const std::string json =
        R"({"channels":[{"channel":"c","latest_seq":0,"notifications":[],"read_seq":0,)"
        R"("card_updates":[{"card_key":"k","card_seq":1,"channel":"c","created_at":"t",)"
        R"("id":"i","update_id":"u","operation":{"kind":"snapshot"},)"
        R"("definition":{"renderer":"metric","title":"T","fields":[{"id":"f","kind":"number"}]}}]}]})";
    EXPECT_EQ(failure<SyncResponse>(json),
              "channels[0].card_updates[0].definition.fields[0].label: required key is missing");
}

TEST(ChannelRecords, EngagementKeyRotationAndPairing) {
    EXPECT_EQ(decode<Engagement>(R"({"channel":"c","sender":"agent","token":"tok"})").value(),
              (Engagement{"c", std::nullopt, "agent", "tok"}));
    EXPECT_EQ(failure<Engagement>(R"({"channel":"c","key_id":"k","sender":"agent"})"),
              "token: required key is missing");

    auto rotation =
        decode<KeyRotation>(R"({"channel":"c","key_id":"k2","sender":"s",)"
                            R"("token":"t","previous_keys_expire_at":"2025-07-02T00:00:00Z"})");
    ASSERT_TRUE(rotation);
    EXPECT_EQ(rotation->previousKeysExpireAt, "2025-07-02T00:00:00Z");
    EXPECT_EQ(failure<KeyRotation>(R"({"channel":"c","sender":"s","token":"t"})"),
              "key_id: required key is missing");

    EXPECT_EQ(decode<PairingCode>(R"({"code":"ABCD-1234","expires_in":600})").value(),
              (PairingCode{"ABCD-1234", 600}));
    EXPECT_EQ(decode<DeviceCredentials>(R"({"account_id":"a","device_token":"d"})").value(),
              (DeviceCredentials{"a", "d"}));
    EXPECT_EQ(failure<RetireAck>(R"({"channel":"c","retired_at":null})"),
              "retired_at: required value is null");
}

TEST(RequestBodies, EncodeExactlyAsTheServiceExpects) {
    EXPECT_EQ(encode(EmptyBody{}).value(), "{}");
    EXPECT_EQ(encode(EngageBody{}).value(), "{}");
    EXPECT_EQ(encode(EngageBody{"deploy-agent"}).value(), R"({"sender":"deploy-agent"})");
    EXPECT_EQ(encode(RotateKeyBody{"c", 24}).value(), R"({"channel":"c","grace_hours":24})");
    EXPECT_EQ(encode(RotateKeyBody{"c", 0}).value(), R"({"channel":"c","grace_hours":0})");
    EXPECT_EQ(encode(RotateKeyBody{"c", 255}).value(), R"({"channel":"c","grace_hours":255})");
    EXPECT_EQ(encode(RedeemBody{"K7P-2QX"}).value(), R"({"code":"K7P-2QX"})");
    EXPECT_EQ(encode(SubscribeBody{"c", "tok"}).value(), R"({"channel":"c","token":"tok"})");
    EXPECT_EQ(encode(RenameChannelBody{"c", "Déploiements \"prod\""}).value(),
              R"({"channel":"c","name":"Déploiements \"prod\""})");
    EXPECT_EQ(encode(RetireChannelBody{"c"}).value(), R"({"channel":"c"})");
    EXPECT_EQ(encode(ReadBody{"c", 42}).value(), R"({"channel":"c","seq":42})");
    EXPECT_EQ(encode(DismissBody{"c", 7}).value(), R"({"channel":"c","seq":7})");
}

TEST(PushAndVaultRecords, PlatformIsWrittenEvenAtItsDefault) {
    EXPECT_EQ(encode(PushRegistration{PushPlatform::apns, "t"}).value(),
              R"({"platform":"apns","token":"t"})");
    EXPECT_EQ(failure<VaultList>(R"({"items":[{"channel":"c","enc_pub":"p","epoch":1}]})"),
              "items[0].wrapped_priv: required key is missing");
}
