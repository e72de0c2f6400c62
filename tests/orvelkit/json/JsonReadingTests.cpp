// How texts are read: string escapes (surrogate pairs included), the faults
// that make a text malformed wherever they are, nesting and list sizes.
// Texts cut anywhere, white space and every other syntax fault are
// json_reader_fuzz's, which holds the reader to simdjson's parser.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

using namespace OrvelProtocol;
using namespace std::string_view_literals;

namespace {

void expectMalformed(std::string_view json) {
    auto ack = decode<ReadAck>(json);
    ASSERT_FALSE(ack) << json;
    EXPECT_EQ(ack.error().path, "") << json;
    EXPECT_TRUE(ack.error().message.starts_with("malformed JSON: ")) << ack.error();
}

} // namespace

TEST(JsonReading, StringsUnescapeExactlyAndBrokenOnesFailTheWholeText) {
    const std::string longRun(40, 'r'); // past the scanner's 16-byte steps
    const struct {
        std::string quoted;
        std::optional<std::string> text; // nothing: the text is malformed
    } cases[] = {
        {R"("plain")", "plain"},
        {R"("a\"b\\c\/d")", "a\"b\\c/d"},
        {R"("\b\f\n\r\t")", "\b\f\n\r\t"},
        {R"("\u00e9\u65E5\u0041")", "é日A"},
        {R"("\ud83d\ude00 \uD834\uDD1E")", "😀 𝄞"},
        {R"("x\u0000y")", std::string("x\0y", 3)},
        {"\"" + longRun + R"(\n)" + longRun + "\"", longRun + "\n" + longRun},
        {R"("\ude00")", std::nullopt},       // a low surrogate alone
        {R"("\ud83d")", std::nullopt},       // a high one alone
        {R"("\ud83dx")", std::nullopt},      //   followed by text
        {R"("\ud83d\u0041")", std::nullopt}, //   or by another escape
        {R"("\u12")", std::nullopt},
        {R"("\u12g4")", std::nullopt},
        {"\"a\tb\"", std::nullopt}, // control characters must be escaped
        {"\"" + longRun + "\x1f\"", std::nullopt},
        {"\"\xc0\xaf\"", std::nullopt},     // an overlong "/"
        {"\"\xed\xa0\x80\"", std::nullopt}, // a surrogate encoded as UTF-8
        {"\"\xe6\x97\"", std::nullopt},     // a sequence cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quoted);
        // Where the record reads the string, and under a key it ignores.
        const std::string read = R"({"read_seq":1,"channel":)" + c.quoted + "}";
        const std::string ignored = R"({"read_seq":1,"channel":"c","x":[)" + c.quoted + "]}";
        if (c.text) {
            auto ack = decode<ReadAck>(read);
            ASSERT_TRUE(ack) << ack.error();
            EXPECT_EQ(ack->channel, *c.text);
            EXPECT_TRUE(decode<ReadAck>(ignored));
        } else {
            expectMalformed(read);
            expectMalformed(ignored);
        }
    }
}

TEST(JsonReading, UnlistedValuesNestUpTo256Deep) {
    const auto nested = [](std::size_t depth) {
        return R"({"channel":"c","read_seq":1,"x":)" + std::string(depth, '[') +
               std::string(depth, ']') + "}";
    };
    EXPECT_TRUE(decode<ReadAck>(nested(256)));
    expectMalformed(nested(257));
    // A mismatch early in a text that breaks later reads as broken JSON.
    expectMalformed(R"({"read_seq":"one","channel":"c","x":[1,]})"sv);
}

TEST(JsonReading, LongListsAreAllocatedAtTheirLengthWhateverTheirElementsHold) {
    // Brackets and commas inside strings and unlisted values are not elements.
    std::string json = R"({"channels":[)";
    for (int i = 0; i < 40; ++i) {
        json += (i ? "," : "") + std::string(R"({"channel":"c\"],{,)") + std::to_string(i) +
                R"(","latest_seq":1,"read_seq":0,"notifications":[],"x":[[1,2],{"a":"]"}]})";
    }
    auto response = decode<SyncResponse>(json + "]}");
    ASSERT_TRUE(response) << response.error();
    EXPECT_EQ(response->channels.size(), 40u);
    EXPECT_EQ(response->channels.capacity(), 40u);
    EXPECT_EQ(response->channels.back().channel, "c\"],{,39");

    // Many tiny elements fail at the first one (nothing is reserved for them).
    std::string tiny = R"({"channels":[{})";
    for (int i = 0; i < 5000; ++i) {
        tiny += ",{}";
    }
    EXPECT_EQ(decode<SyncResponse>(tiny + "]}").error().path, "channels[0].channel");
}
