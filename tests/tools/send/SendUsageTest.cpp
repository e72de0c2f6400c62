// orvel-send's --help text, which its man page is written from, against its
// parser: every option the text lists is one the parser knows.

#include "tools/send/SendCommand.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace OrvelSend {
namespace {

TEST(SendUsage, ListsOnlyOptionsTheParserKnows) {
    const std::string usage(sendUsage);
    const std::regex listed("\n  (--[a-z-]+)");
    int count = 0;
    for (std::sregex_iterator it(usage.begin(), usage.end(), listed), end; it != end; ++it) {
        const std::string option = (*it)[1];
        const auto parsed = parseSendCommand({option, "x"}, {});
        EXPECT_TRUE(parsed || !parsed.error().starts_with("unknown option")) << option;
        ++count;
    }
    EXPECT_GT(count, 10) << "the option list was not found";
    const auto unknown = parseSendCommand({"--frobnicate", "x"}, {});
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error(), "unknown option --frobnicate");
}

} // namespace
} // namespace OrvelSend
