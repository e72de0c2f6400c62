// The rules every record follows. Decoding: presence, null, unsigned
// integers, unknown keys (whatever they hold), malformed text (how failures read is in
// protocol/DecodeFailureTests.cpp). Encoding: compact output, escaping, and
// refusal of invalid UTF-8.

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

    EXPECT_EQ(decode<PushRegistration>(R"({"token":"t"})")->platform, PushPlatform::apns);
    EXPECT_EQ(decode<PersistentCardPullResponse>(R"({"card_updates":null})").value(),
              PersistentCardPullResponse{});
}

TEST(JsonDecoding, UnsignedValuesDecodeOnlyWhenExactAndInRange) {
    for (const std::string_view number : {"0", "9223372036854775808", "18446744073709551615"}) {
        auto ack = decode<OfferAck>(R"({"expires_in":)" + std::string(number) + "}");
        ASSERT_TRUE(ack) << number;
        EXPECT_EQ(std::to_string(ack->expiresIn), number);
    }
    for (const std::string_view number : {"18446744073709551616", "-1", "1.0", "1e3", "true"}) {
        EXPECT_FALSE(decode<OfferAck>(R"({"expires_in":)" + std::string(number) + "}")) << number;
    }
}

TEST(JsonDecoding, UnknownKeysAreIgnoredAndKeysComeInAnyOrder) {
    auto ack = decode<DismissAck>(
        R"({"extra":{"nested":[1,{"deep":null}],"n":-3.5e10},"channel":"c","dismissed":true,)"
        R"("seq":4,"SEQ":"not this one","channel_":false})");
    ASSERT_TRUE(ack) << ack.error();
    EXPECT_EQ(*ack, (DismissAck{"c", true, 4}));
    EXPECT_EQ(encode(*ack).value(), R"({"channel":"c","dismissed":true,"seq":4})");
}

namespace {

// Numbers that no 64-bit type holds, or that a double rounds to infinity or zero.
const std::string_view outOfRangeNumbers[] = {"18446744073709551616", "1e400", "1e-400",
                                              "-99999999999999999999"};

// Where an unlisted key can sit: at the top, deep inside an unlisted value,
// and inside listed records and lists.
std::string withUnlistedNumber(std::string_view number, int where) {
    const std::string n(number);
    const std::string channel = R"({"channel":"c","latest_seq":1,"read_seq":0,"notifications":[)"
                                R"({"id":"n","channel":"c","seq":1,"created_at":"t","title":"T",)"
                                R"("urgency":"low","extra":)";
    switch (where) {
    case 0:
        return R"({"channels":[],"stats":{"bytes":)" + n + "}}";
    case 1:
        return R"({"stats":[{"a":[)" + n + R"(,{"b":[[)" + n + R"(]]}]}],"channels":[]})";
    default:
        return R"({"channels":[)" + channel + R"({"x":[)" + n + R"(]}}],"size":)" + n + "}]}";
    }
}

} // namespace

TEST(JsonDecoding, UnlistedKeysMayHoldAnyNumberListedOnesStayStrictBrokenTextsFail) {
    for (const std::string_view number : outOfRangeNumbers) {
        SCOPED_TRACE(number);
        for (int where = 0; where < 3; ++where) {
            auto response = decode<SyncResponse>(withUnlistedNumber(number, where));
            ASSERT_TRUE(response) << where << ": " << response.error();
            EXPECT_EQ(response->channels.size(), where == 2 ? 1u : 0u);
        }
        // The same numbers where a record reads them fail, naming the key.
        EXPECT_EQ(
            decode<OfferAck>(R"({"expires_in":)" + std::string(number) + "}").error().description(),
            "expires_in: " + std::string(number) + " is not an unsigned 64-bit integer");
        EXPECT_EQ(decode<SyncResponse>(R"({"channels":[{"channel":"c","latest_seq":)" +
                                       std::string(number) +
                                       R"(,"read_seq":0,"notifications":[]}]})")
                      .error()
                      .path,
                  "channels[0].latest_seq");
    }

    // Broken text inside values nobody reads, or after the document.
    for (const std::string_view unlisted :
         {"[1,,2]", "[1 2]", "{\"a\" 1}", "{\"a\":1 \"b\":2}", "{\"a\":1,}", "tru", "nul", "01",
          "1.", "-", "1e", "+1", R"("\q")", R"("\ud800")", "[1,2", "{\"a\":[}", "\"\x01\""}) {
        const std::string json = R"({"channels":[],"x":)" + std::string(unlisted) + "}";
        auto response = decode<SyncResponse>(json);
        ASSERT_FALSE(response) << json;
        EXPECT_TRUE(response.error().description().starts_with("malformed JSON")) << json;
    }
    for (const std::string_view json :
         {R"({"channels":[]} x)", R"({"channels":[]}{})", R"({"channels":[] "x":1})"}) {
        auto response = decode<SyncResponse>(json);
        ASSERT_FALSE(response) << json;
        EXPECT_EQ(response.error().path, "") << json;
    }
}

namespace {

std::string encodedValue(std::string text) {
    return encode(CardField{"l", std::move(text)}).value();
}

std::string quotedInField(std::string_view quoted) {
    return R"({"label":"l","value":)" + std::string(quoted) + "}";
}

} // namespace

TEST(JsonEncoding, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(encodedValue("say \"hi\" \\ / \x7F"), quotedInField(R"("say \"hi\" \\ / )"
                                                                  "\x7F\""));
    EXPECT_EQ(encodedValue("\b\f\n\r\t"), quotedInField(R"("\b\f\n\r\t")"));
    EXPECT_EQ(encodedValue(std::string("\0\x01\x1B\x1F", 4)),
              quotedInField(R"("\u0000\u0001\u001B\u001F")"));
    // Non-ASCII is written as it is.
    EXPECT_EQ(encodedValue("é 日本 \xF0\x9F\x9A\x80"),
              quotedInField("\"é 日本 \xF0\x9F\x9A\x80\""));
}

TEST(JsonEncoding, EveryByteValueSurvivesAtEveryPosition) {
    // A special byte or sequence at each offset of texts of many lengths, so
    // that every path of the string writer (whole words, tails, short texts)
    // meets it.
    const std::string specials[] = {"\"",   "\\", "\n", std::string(1, '\0'),
                                    "\x1F", "é",  "日", "\xF0\x9F\x98\x80"};
    for (std::size_t length = 0; length <= 24; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            for (const auto& special : specials) {
                std::string text(length, 'x');
                for (std::size_t i = 0; i < length; ++i) {
                    text[i] = static_cast<char>('a' + i % 26);
                }
                text.insert(at, special);
                const CardField field{text, text + text};
                auto json = encode(field);
                ASSERT_TRUE(json) << text;
                auto back = decode<CardField>(*json);
                ASSERT_TRUE(back) << *json;
                EXPECT_EQ(*back, field) << *json;
            }
        }
    }
}

TEST(JsonEncoding, RefusesTextsThatAreNotUtf8) {
    // A stray continuation, an overlong "/", a surrogate, beyond U+10FFFF,
    // truncated; at the start, in the middle and at the end of a text.
    for (std::string bad : {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x97x"}) {
        for (const std::string& text : {bad, "plain text before " + bad, bad + " and after"}) {
            auto json = encode(CardField{"l", text});
            ASSERT_FALSE(json) << text;
            EXPECT_EQ(json.error().description(), "value: text is not valid UTF-8");
        }
    }
    // The code points next to those that are refused.
    const std::string good = "\xC2\x80 \xED\x9F\xBF \xF4\x8F\xBF\xBF";
    EXPECT_EQ(decode<CardField>(encode(CardField{"l", good}).value())->value, good);
}

TEST(JsonEncoding, InvalidTextDeepInARecordNamesItsPath) {
    SyncResponse response;
    response.channels.resize(2);
    response.channels[1].notifications.resize(3);
    response.channels[1].notifications[2].attachments.resize(1);
    response.channels[1].notifications[2].attachments[0].alt = "bad \xC3";
    auto json = encode(response);
    ASSERT_FALSE(json);
    EXPECT_EQ(json.error().description(),
              "channels[1].notifications[2].attachments[0].alt: text is not "
              "valid UTF-8");
}
