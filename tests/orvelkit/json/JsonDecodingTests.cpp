// The decoding rules every record follows: presence, null, unsigned
// integers, unknown keys, malformed text. How failures read is in
// protocol/DecodeFailureTests.cpp.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

TEST(JsonDecoding, OptionalKeyMissingOrNullIsAbsentAndDefaultedKeyTakesItsDefault) {
    const auto keyId = [](std::string_view json) { return decode<Engagement>(json)->keyId; };
    EXPECT_EQ(keyId(R"({"channel":"c","sender":"s","token":"t"})"), std::nullopt);
    EXPECT_EQ(keyId(R"({"channel":"c","key_id":null,"sender":"s","token":"t"})"), std::nullopt);
    EXPECT_EQ(keyId(R"({"channel":"c","key_id":"k1","sender":"s","token":"t"})"), "k1");

    const auto platform = [](std::string_view json) {
        return decode<PushRegistration>(json)->platform;
    };
    EXPECT_EQ(platform(R"({"token":"t"})"), PushPlatform::apns);
    EXPECT_EQ(platform(R"({"platform":null,"token":"t"})"), PushPlatform::apns);
    EXPECT_EQ(platform(R"({"platform":"webpush","token":"t"})"), PushPlatform::webpush);
    auto empty = decode<PersistentCardPullResponse>(R"({"card_updates":null})");
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, PersistentCardPullResponse{});
}

class UnsignedValues : public testing::TestWithParam<std::pair<std::string_view, bool>> {};

TEST_P(UnsignedValues, DecodeOnlyWhenExactAndInRange) {
    const auto [number, accepted] = GetParam();
    auto ack = decode<OfferAck>(R"({"expires_in":)" + std::string(number) + "}");
    EXPECT_EQ(bool(ack), accepted) << number;
    if (ack) {
        EXPECT_EQ(std::to_string(ack->expiresIn), number);
    }
}

INSTANTIATE_TEST_SUITE_P(
    JsonDecoding, UnsignedValues,
    testing::Values(std::pair{"0", true}, std::pair{"600", true},
                    std::pair{"9223372036854775808", true}, std::pair{"18446744073709551615", true},
                    std::pair{"18446744073709551616", false},
                    std::pair{"100000000000000000000", false}, std::pair{"-1", false},
                    std::pair{"-9223372036854775808", false}, std::pair{"1.0", false},
                    std::pair{"1.5", false}, std::pair{"1e3", false}, std::pair{"1E0", false},
                    std::pair{"\"5\"", false}, std::pair{"true", false}, std::pair{"[]", false}));

TEST(JsonDecoding, UnknownKeysAreIgnoredAndKeysComeInAnyOrder) {
    auto ack = decode<DismissAck>(
        R"({"extra":{"nested":[1,{"deep":null}],"n":-3.5e10},"channel":"c","dismissed":true,)"
        R"("seq":4,"SEQ":"not this one","channel_":false})");
    ASSERT_TRUE(ack) << ack.error();
    EXPECT_EQ(*ack, (DismissAck{"c", true, 4}));
    EXPECT_EQ(encode(*ack).value(), R"({"channel":"c","dismissed":true,"seq":4})");
    EXPECT_EQ(decode<RotateKeyBody>(R"({"channel":"c","grace_hours":255})")->graceHours, 255);

    auto forward = decode<KeyInfo>(R"({"channel":"c","created_at":"t0","key_id":"k",)"
                                   R"("revoked":false,"sender":"s","expires_at":"t1"})");
    auto backward = decode<KeyInfo>(R"({"expires_at":"t1","sender":"s","revoked":false,)"
                                    R"("key_id":"k","created_at":"t0","channel":"c"})");
    ASSERT_TRUE(forward && backward);
    EXPECT_EQ(*forward, *backward);
    EXPECT_EQ(forward->expiresAt, "t1");
}

TEST(JsonDecoding, TextThatIsNotAJsonObjectFailsWithoutAPath) {
    for (std::string_view json :
         {"", " ", "{", R"({"channel":"c","read_seq":1)", R"({"channel":"c","read_seq":1,})",
          R"({"channel":"c","read_seq":1} x)", R"({"channel":'c',"read_seq":1})",
          R"({"channel":"c","read_seq":01})", R"({channel:"c","read_seq":1})"}) {
        auto ack = decode<ReadAck>(json);
        ASSERT_FALSE(ack) << json;
        EXPECT_EQ(ack.error().path, "") << json;
        EXPECT_TRUE(ack.error().message.starts_with("malformed JSON")) << ack.error();
    }
}

TEST(JsonDecoding, InvalidUtf8AnywhereFailsTheWholeText) {
    const std::string valid = R"({"channel":"caf\u00e9 café 日本","read_seq":1,"x":"é"})";
    EXPECT_EQ(decode<ReadAck>(valid)->channel, "café café 日本");

    for (std::string bad : {"\xC3", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        // In a value that is read, and in one that is ignored.
        EXPECT_FALSE(decode<ReadAck>(R"({"channel":"a)" + bad + R"(","read_seq":1})"));
        EXPECT_FALSE(decode<ReadAck>(R"({"channel":"a","read_seq":1,"x":")" + bad + R"("})"));
    }
    // Escaped lone surrogates cannot become UTF-8 either.
    EXPECT_FALSE(decode<ReadAck>(R"({"channel":"\ud800","read_seq":1})"));
    EXPECT_FALSE(decode<ReadAck>(R"({"channel":"\udc00x","read_seq":1})"));
    EXPECT_EQ(decode<ReadAck>(R"({"channel":"\ud83d\ude80","read_seq":1})")->channel,
              "\xF0\x9F\x9A\x80");
}
