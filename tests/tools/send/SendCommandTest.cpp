#include "tools/send/SendCommand.h"

#include <gtest/gtest.h>

namespace OrvelSend {
namespace {

using namespace OrvelProtocol;

const std::vector<std::string> base{"--server", "http://127.0.0.1:8787", "--token",
                                    "orvel_pub_abc"};

OrvelKit::Expected<ParsedCommand, std::string> parse(std::vector<std::string> extra,
                                                     SendEnvironment environment = {}) {
    std::vector<std::string> arguments = base;
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return parseSendCommand(arguments, environment);
}

TEST(SendCommand, BuildsAnUpdateFromTheOptions) {
    auto parsed = parse({"--title", "Build failed", "--status", "failed", "--urgency=high",
                         "--field", "branch=main", "--field", "eq=a=b", "--link",
                         "log=https://ci/x?a=1", "--kind", "card", "--body", "text"});
    ASSERT_TRUE(parsed) << parsed.error();
    EXPECT_EQ(parsed->command.token, "orvel_pub_abc");
    const auto& input = std::get<NotificationInput>(parsed->command.payload);
    EXPECT_EQ(input.channel, "") << "the service takes the channel from the token";
    EXPECT_EQ(input.urgency, Urgency::high);
    EXPECT_EQ(input.fields, (std::vector<CardField>{{"branch", "main"}, {"eq", "a=b"}}));
    EXPECT_EQ(input.links, (std::vector<Link>{{"log", "https://ci/x?a=1"}}));

    EXPECT_TRUE(parse({"--help"})->help);
    SendEnvironment environment;
    environment.tokenFromEnvironment = "orvel_pub_env";
    auto fromEnvironment = parseSendCommand(
        {"--server", "http://h", "--title", "t", "--channel", "ch_1"}, environment);
    ASSERT_TRUE(fromEnvironment);
    EXPECT_EQ(fromEnvironment->command.token, "orvel_pub_env");
    EXPECT_EQ(std::get<NotificationInput>(fromEnvironment->command.payload).channel, "ch_1");
}

TEST(SendCommand, ReadsACardUpdateAndLetsTheChannelOptionWin) {
    SendEnvironment environment;
    environment.readFile =
        [](const std::string& path) -> OrvelKit::Expected<std::string, std::string> {
        if (path != "card.json") {
            return OrvelKit::unexpected("cannot read " + path);
        }
        return std::string(R"({"card_key":"spend","channel":"","update_id":"u1",
            "definition":{"fields":[],"renderer":"metric","title":"Spend"},
            "operation":{"kind":"snapshot"}})");
    };
    auto parsed = parse({"--card-json", "card.json", "--channel", "ch_9"}, environment);
    ASSERT_TRUE(parsed) << parsed.error();
    const auto& card = std::get<PersistentCardUpdateInput>(parsed->command.payload);
    EXPECT_EQ(card.cardKey, "spend");
    EXPECT_EQ(card.channel, "ch_9");
    EXPECT_EQ(card.definition.rendererVersion, 1u);

    EXPECT_FALSE(parse({"--card-json", "other.json"}, environment));
    EXPECT_FALSE(parse({"--card-json", "card.json", "--title", "x"}, environment));
}

TEST(SendCommand, RefusesIncompleteOrUnknownInput) {
    const std::vector<std::vector<std::string>> bad{
        {},                                      // no title
        {"--title", "t", "--urgency", "urgent"}, // not an urgency
        {"--title", "t", "--field", "novalue"},
        {"--title", "t", "--title", "u"},
        {"--title", "t", "--verbose"},
    };
    for (const auto& extra : bad) {
        auto parsed = parse(extra);
        EXPECT_FALSE(parsed) << ::testing::PrintToString(extra);
        if (!parsed) {
            EXPECT_EQ(parsed.error().find("orvel_pub_abc"), std::string::npos);
        }
    }
    EXPECT_FALSE(parseSendCommand({"--token", "orvel_pub_abc", "--title", "t"}, {}));
    EXPECT_FALSE(parseSendCommand({"--server", "ftp://h", "--token", "t", "--title", "t"}, {}));
    EXPECT_FALSE(parseSendCommand({"--server", "http://h", "--title", "t"}, {}));
}

} // namespace
} // namespace OrvelSend
