// The encoding rules: compact output, escaping, and refusal of invalid UTF-8.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

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
    EXPECT_EQ(encode(KeyList{}).value(), R"({"keys":[]})"); // compact, nothing added
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
    std::string allBytes;
    for (int c = 0; c < 0x80; ++c) {
        allBytes += static_cast<char>(c);
    }
    EXPECT_EQ(decode<CardField>(encodedValue(allBytes))->value, allBytes);
}

TEST(JsonEncoding, RefusesTextsThatAreNotUtf8) {
    for (std::string bad : {
             "\x80",             // stray continuation byte
             "\xC0\xAF",         // overlong "/"
             "\xC1\xBF",         // overlong
             "\xE0\x80\xAF",     // overlong
             "\xF0\x80\x80\xAF", // overlong
             "\xED\xA0\x80",     // surrogate U+D800
             "\xED\xBF\xBF",     // surrogate U+DFFF
             "\xF4\x90\x80\x80", // beyond U+10FFFF
             "\xF5\x80\x80\x80", "\xFF",
             "\xC3",         // truncated
             "\xE6\x97",     // truncated
             "\xE6\x97x",    // continuation missing
             "\xF0\x9F\x9A", // truncated
         }) {
        for (const std::string& text : {bad, "plain text before " + bad, bad + " and after"}) {
            auto json = encode(CardField{"l", text});
            ASSERT_FALSE(json) << text;
            EXPECT_EQ(json.error().description(), "value: text is not valid UTF-8");
        }
    }
    for (std::string good : {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                             "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        auto json = encode(CardField{"l", good});
        ASSERT_TRUE(json) << good;
        EXPECT_EQ(decode<CardField>(*json)->value, good);
    }
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
