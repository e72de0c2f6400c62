// The decoding rules every record follows: presence, null, unsigned
// integers, unknown keys, and how a failure is reported.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

namespace {

// The description of the failure decoding `json` as T, or "decoded" if it did not fail.
template <class T>
std::string failure(std::string_view json) {
    auto result = decode<T>(json);
    return result ? "decoded" : result.error().description();
}

} // namespace

TEST(JsonDecoding, RequiredKeyMustBePresentNonNullAndOfItsType) {
    auto ack = decode<ReadAck>(R"({"channel":"ch_1","read_seq":7})");
    ASSERT_TRUE(ack) << ack.error();
    EXPECT_EQ(*ack, (ReadAck{"ch_1", 7}));

    EXPECT_EQ(failure<ReadAck>(R"({"channel":"ch_1"})"), "read_seq: required key is missing");
    EXPECT_EQ(failure<ReadAck>(R"({"channel":"ch_1","read_seq":null})"),
              "read_seq: required value is null");
    EXPECT_EQ(failure<ReadAck>(R"({"channel":"ch_1","read_seq":"7"})"),
              "read_seq: expected an unsigned 64-bit integer, found a string");
    EXPECT_EQ(failure<ReadAck>(R"({"channel":7,"read_seq":7})"),
              "channel: expected a string, found a number");
    EXPECT_EQ(failure<DismissAck>(R"({"channel":"c","dismissed":1,"seq":1})"),
              "dismissed: expected a boolean, found a number");
    EXPECT_EQ(failure<KeyList>(R"({"keys":{}})"), "keys: expected an array, found an object");
}

TEST(JsonDecoding, OptionalKeyMissingOrNullIsAbsent) {
    const auto decodeKeyId = [](std::string_view json) { return decode<Engagement>(json)->keyId; };
    EXPECT_EQ(decodeKeyId(R"({"channel":"c","sender":"s","token":"t"})"), std::nullopt);
    EXPECT_EQ(decodeKeyId(R"({"channel":"c","key_id":null,"sender":"s","token":"t"})"),
              std::nullopt);
    EXPECT_EQ(decodeKeyId(R"({"channel":"c","key_id":"k1","sender":"s","token":"t"})"), "k1");
    EXPECT_EQ(failure<Engagement>(R"({"channel":"c","key_id":5,"sender":"s","token":"t"})"),
              "key_id: expected a string, found a number");
}

TEST(JsonDecoding, DefaultedKeyMissingOrNullGivesItsDefaultButWrongTextFails) {
    EXPECT_EQ(decode<PushRegistration>(R"({"token":"t"})")->platform, PushPlatform::apns);
    EXPECT_EQ(decode<PushRegistration>(R"({"platform":null,"token":"t"})")->platform,
              PushPlatform::apns);
    EXPECT_EQ(decode<PushRegistration>(R"({"platform":"webpush","token":"t"})")->platform,
              PushPlatform::webpush);
    EXPECT_EQ(failure<PushRegistration>(R"({"platform":"ios","token":"t"})"),
              R"(platform: "ios" is not one of apns, fcm, webpush)");
    EXPECT_EQ(failure<PushRegistration>(R"({"platform":"APNS","token":"t"})"),
              R"(platform: "APNS" is not one of apns, fcm, webpush)");
    EXPECT_EQ(failure<PushRegistration>(R"({"platform":1,"token":"t"})"),
              "platform: expected a string, found a number");

    auto empty = decode<PersistentCardPullResponse>(R"({"card_updates":null})");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->cardUpdates.empty());
    EXPECT_EQ(empty->latestCardSeq, 0u);
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

TEST(JsonDecoding, NegativeAndFractionalNumbersNameTheValue) {
    EXPECT_EQ(failure<OfferAck>(R"({"expires_in":-1})"),
              "expires_in: -1 is not an unsigned 64-bit integer");
    EXPECT_EQ(failure<OfferAck>(R"({"expires_in":1.5})"),
              "expires_in: 1.5 is not an unsigned 64-bit integer");
    EXPECT_EQ(failure<RotateKeyBody>(R"({"channel":"c","grace_hours":256})"),
              "grace_hours: 256 is not an integer from 0 to 255");
    EXPECT_EQ(decode<RotateKeyBody>(R"({"channel":"c","grace_hours":255})")->graceHours, 255);
}

TEST(JsonDecoding, UnknownKeysAreIgnoredWhateverTheyHold) {
    auto ack = decode<DismissAck>(
        R"({"extra":{"nested":[1,{"deep":null}],"n":-3.5e10},"channel":"c","dismissed":true,)"
        R"("seq":4,"SEQ":"not this one","channel_":false})");
    ASSERT_TRUE(ack) << ack.error();
    EXPECT_EQ(*ack, (DismissAck{"c", true, 4}));
    EXPECT_EQ(encode(*ack).value(), R"({"channel":"c","dismissed":true,"seq":4})");

    // Keys match exactly: no case folding and no camelCase conversion.
    EXPECT_EQ(failure<ReadAck>(R"({"channel":"c","readSeq":1})"),
              "read_seq: required key is missing");
}

TEST(JsonDecoding, KeysInAnyOrder) {
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
    EXPECT_EQ(failure<ReadAck>("[]"), "expected an object, found an array");
    EXPECT_EQ(failure<ReadAck>("null"), "expected an object, found null");
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
