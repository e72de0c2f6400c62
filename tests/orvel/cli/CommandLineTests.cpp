// Reading orvelctl's command line: every command, the options that belong to
// it, and the mistakes that must stop before anything runs.

#include "orvel/cli/CommandLine.h"
#include "tests/orvel/cli/CliHarness.h"

#include <gtest/gtest.h>

namespace {

using namespace Orvel::Cli;
using OrvelKit::UpdateFilter;

Invocation parsed(std::vector<std::string> arguments) {
    auto invocation = parseCommandLine(arguments);
    EXPECT_TRUE(invocation) << (invocation ? "" : invocation.error().message);
    return invocation ? *invocation : Invocation{};
}

UsageError refused(std::vector<std::string> arguments) {
    auto invocation = parseCommandLine(arguments);
    EXPECT_FALSE(invocation) << "accepted: " << testing::PrintToString(arguments);
    return invocation ? UsageError{} : invocation.error();
}

TEST(CommandLine, ReadsEachCommandsArguments) {
    // Each command, and the name trimmed by rename, is read by the end-to-end
    // tests, which run them all.
    EXPECT_TRUE(parsed({"status", "--offline"}).offline);
    EXPECT_EQ(parsed({"updates", "--filter", "needs-you"}).filter, UpdateFilter::needsYou);

    const auto rotate = parsed({"channel", "rotate", "ch_1"});
    EXPECT_EQ(rotate.channel, "ch_1");
    EXPECT_EQ(rotate.graceHours, 24) << "the old key keeps working unless asked otherwise";

    // An id that starts with a dash, after "--".
    EXPECT_EQ(parsed({"show", "--", "-odd-id"}).updateId, "-odd-id");
    // Options anywhere, in either form, are each command's completions test.
    EXPECT_EQ(parsed({"--server", " http://127.0.0.1:9 ", "status"}).server, "http://127.0.0.1:9");
    EXPECT_EQ(parsed({"help", "channel", "rotate"}).command, Command::channelRotate);
}

TEST(CommandLine, RefusesWhatCannotRunWithTheUsageItConcerns) {
    EXPECT_EQ(refused({"frobnicate"}).topic, Command::help);
    EXPECT_EQ(refused({"status", "--verbose"}).message, "unknown option --verbose");

    EXPECT_EQ(refused({"show"}).topic, Command::show);
    EXPECT_EQ(refused({"channel", "rename", "ch_1"}).topic, Command::channelRename);

    // Options of other commands, or without their value.
    EXPECT_EQ(refused({"sync", "--all"}).message, "--all is not an option of sync");
    EXPECT_EQ(refused({"updates", "--filter"}).message, "--filter needs a value");
    EXPECT_EQ(refused({"updates", "--filter", "urgent"}).topic, Command::updates);
    EXPECT_EQ(refused({"read-all", "--json"}).message, "--json is not available for read-all");

    EXPECT_EQ(refused({"channel", "rotate", "ch_1", "--grace", "12"}).message,
              "--grace needs 0 or 24 (hours)");
    EXPECT_EQ(refused({"status", "--server", "ftp://example.com"}).topic, Command::status);
}

TEST(CommandLine, AChannelNameIsOneToEightyCharactersAfterTrimming) {
    const std::string eighty(80, 'n');
    EXPECT_EQ(parsed({"channel", "rename", "c", eighty}).name, eighty);
    EXPECT_EQ(refused({"channel", "rename", "c", eighty + "n"}).message,
              "the name must be 1 to 80 characters");
    // Characters, not bytes: 80 two-byte letters fit.
    std::string umlauts;
    for (int i = 0; i < 80; ++i) {
        umlauts += "\xC3\xBC";
    }
    EXPECT_EQ(parsed({"channel", "rename", "c", umlauts}).name, umlauts);
    EXPECT_EQ(refused({"channel", "rename", "c", "bad \xFF byte"}).message,
              "the name is not valid UTF-8");
}

TEST(CommandLine, ABadCommandLinePrintsItsUsageAndExitsWithTwo) {
    OrvelTest::CliHarness h;
    const auto noCommand = h.run({});
    EXPECT_EQ(noCommand.status, exitUsage);
    EXPECT_EQ(noCommand.out, "");
    EXPECT_TRUE(noCommand.err.starts_with("orvelctl: no command given\n\nusage: orvelctl"))
        << noCommand;

    const auto rotate = h.run({"channel", "rotate", "ch_1", "--grace", "7"});
    EXPECT_EQ(rotate.status, exitUsage);
    EXPECT_NE(rotate.err.find("usage: orvelctl channel rotate"), std::string::npos) << rotate;
    EXPECT_FALSE(std::filesystem::exists(h.dataDirectory)) << "nothing ran";

    const auto help = h.run({"updates", "--help"});
    EXPECT_EQ(help.status, exitSuccess);
    EXPECT_TRUE(help.out.starts_with("usage: orvelctl updates")) << help;
    EXPECT_EQ(help.err, "");
}

} // namespace
