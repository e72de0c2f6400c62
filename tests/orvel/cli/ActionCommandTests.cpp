// The commands that change something, against the development service: what
// they print, what they save, what the service records, and how they fail.

#include "orvel/cli/CliSession.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/orvel/cli/CliHarness.h"

#include <gtest/gtest.h>
#include <simdjson.h>

namespace {

using namespace OrvelTest;
using Orvel::Cli::exitFailure;
using Orvel::Cli::exitSuccess;

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

class ActionCommands : public ::testing::Test {
protected:
    void seeded() {
        h.startService();
        h.pairAsSeededDesktop();
        h.ok({"sync"});
    }

    // What another device of the same account sees after a sync of its own.
    simdjson::dom::element otherDevice(const std::vector<std::string>& command) {
        const auto own = h.dataDirectory;
        h.dataDirectory = h.temporary / "other-device";
        h.pairAsSeededDesktop();
        h.ok({"sync"});
        const auto result = h.cli(command);
        h.dataDirectory = own;
        output = result.out;
        return parser.parse(output);
    }

    CliHarness h;
    simdjson::dom::parser parser;
    std::string output;
};

TEST_F(ActionCommands, CreatingAChannelRegistersTheDeviceAndHandsOutTheInstructions) {
    const auto url = h.startService(std::nullopt);
    const auto created = h.cli({"--server", url + "/", "channel", "create", "--json"});
    ASSERT_EQ(created.status, exitSuccess) << created;
    simdjson::dom::element doc = parser.parse(created.out);
    const std::string token{std::string_view(doc["token"])};
    EXPECT_TRUE(token.starts_with("orvel_pub_"));
    const std::string_view instructions(doc["instructions"]);
    EXPECT_TRUE(instructions.ends_with(": " + token))
        << "the instructions end with the token itself";
    EXPECT_TRUE(contains(std::string(instructions),
                         " tool at " + url + "/mcp. Follow " + url + "/llms.txt "))
        << "the instructions point at the service in use: " << instructions;

    // The data directory remembers the server, the device and the channel.
    const auto config = h.savedConfig();
    EXPECT_EQ(config.serverURL, url + "/");
    ASSERT_EQ(config.channels.size(), 1u);
    EXPECT_EQ(config.channels[0].token, token);

    const auto text = h.cli({"channel", "create"});
    EXPECT_TRUE(text.out.starts_with("Created channel ch_")) << text;

    // Reads never show a token, nor the device credential.
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"status"}, {"status", "--json"}, {"channels"}, {"channels", "--json"}}) {
        const auto result = h.cli(command);
        EXPECT_FALSE(contains(result.out + result.err, "orvel_pub_")) << result;
        EXPECT_FALSE(contains(result.out + result.err, *config.deviceToken)) << result;
    }
}

TEST_F(ActionCommands, RenameRotateAndRetireChangeTheChannelEverywhere) {
    seeded();
    EXPECT_EQ(h.ok({"channel", "rename", "ch_ops", "  Ops desk "}),
              "Renamed ch_ops to \"Ops desk\"\n");
    EXPECT_TRUE(contains(h.cli({"channels"}).out, "ch_ops    Ops desk")) << "the refresh after "
                                                                            "it brings the name";

    const auto rotated = h.cli({"channel", "rotate", "ch_build", "--grace", "0"});
    ASSERT_EQ(rotated.status, exitSuccess) << rotated;
    EXPECT_TRUE(rotated.out.starts_with(
        "Rotated the key of ch_build. The previous key no longer works.\n"
        "Hand these instructions to ci. They hold the new key, shown only now: keep them "
        "secret.\n\nReplace the Orvel channel_key for ci with this new secret: orvel_pub_"))
        << rotated;
    const auto config = h.savedConfig();
    EXPECT_NE(config.channels[0].token, Seed::buildToken);
    EXPECT_TRUE(contains(rotated.out, config.channels[0].token));
    EXPECT_EQ(config.channels[0].createdAt, "2026-12-01T00:00:00Z") << "kept across rotations";

    EXPECT_EQ(h.ok({"channel", "retire", "ch_build"}), "Retired ch_build\n");
    EXPECT_EQ(h.savedConfig().channels.size(), 1u);
    const auto inbox = OrvelKit::FileInboxStore(h.dataDirectory / "inbox.json").load().value();
    EXPECT_EQ(inbox.channel("ch_build"), nullptr) << "its updates leave the inbox too";
}

TEST_F(ActionCommands, PairingPrintsACodeAndWebLinkThatAnotherDirectoryJoinsOnce) {
    seeded();
    const auto url = h.serviceURL();
    const auto pair = h.ok({"pair"});
    EXPECT_TRUE(pair.starts_with("Pairing code: ")) << pair;
    EXPECT_TRUE(contains(pair, "Expires in 10 minutes (at 10:10).\n"
                               "Or open on the other device: " +
                                   url + "/app#pair="))
        << pair;
    simdjson::dom::element doc = parser.parse(h.ok({"pair", "--json"}));
    const std::string code{std::string_view(doc["code"])};
    EXPECT_EQ(std::string_view(doc["url"]), url + "/app#pair=" + code);

    const auto desktop = h.dataDirectory;
    h.dataDirectory = h.temporary / "headless";
    EXPECT_EQ(h.ok({"--server", url, "join", code}),
              "Joined. This directory now follows the account's 2 channels.\n");
    EXPECT_TRUE(h.savedConfig().isPaired());
    EXPECT_TRUE(contains(h.ok({"updates"}), "Approve the production deploy"))
        << "the joined directory synced the account's updates";

    // A used code, and a directory that already follows an account, change nothing.
    h.dataDirectory = h.temporary / "late";
    const auto used = h.cli({"--server", url, "join", code});
    EXPECT_EQ(used.status, exitFailure) << used;
    EXPECT_TRUE(contains(used.err, "Couldn't join")) << used;
    EXPECT_FALSE(h.savedConfig().isPaired());
    h.dataDirectory = desktop;
    const auto again = h.cli({"join", code});
    EXPECT_EQ(again.status, exitFailure) << again;
    EXPECT_TRUE(contains(again.err, "already belongs to an account")) << again;
}

TEST_F(ActionCommands, DismissAndReadAllReachTheOtherDevices) {
    seeded();
    EXPECT_EQ(h.ok({"dismiss", "ntf_ops_3"}), "Dismissed: Approve the production deploy\n");
    EXPECT_EQ(simdjson::dom::array(otherDevice({"sync", "--json"})["briefing"]["attention"]).size(),
              1u)
        << "the other device no longer sees the deploy as needing attention";

    EXPECT_EQ(h.ok({"read-all"}), "Marked 5 updates read\n");
    EXPECT_EQ(uint64_t(otherDevice({"status", "--json"})["unread"]), 0u);
}

TEST_F(ActionCommands, WithTheServiceDownCommandsFailAndNothingIsLost) {
    seeded();
    h.stopService();

    const auto sync = h.cli({"sync"});
    EXPECT_EQ(sync.status, exitFailure);
    EXPECT_TRUE(sync.out.starts_with("MORNING BRIEFING\n")) << "the local briefing still shows";
    EXPECT_TRUE(sync.err.starts_with("orvelctl: ")) << sync;
    EXPECT_EQ(std::count(sync.err.begin(), sync.err.end(), '\n'), 1) << "one line";

    const auto json = h.cli({"sync", "--json"});
    EXPECT_EQ(json.status, exitFailure);
    simdjson::dom::element doc = parser.parse(json.out);
    EXPECT_FALSE(bool(doc["ok"]));
    EXPECT_EQ("orvelctl: " + std::string(std::string_view(doc["error"])) + "\n", json.err);

    EXPECT_EQ(h.cli({"pair"}).status, exitFailure);

    // A dismissal is kept here; its replay is the app model's and the fault tests'.
    const auto dismiss = h.cli({"dismiss", "ntf_ops_3"});
    EXPECT_EQ(dismiss.status, exitFailure);
    EXPECT_TRUE(dismiss.err.starts_with("orvelctl: Couldn't sync that dismissal: ")) << dismiss;
    EXPECT_TRUE(dismiss.err.ends_with("(it is sent again with the next sync)\n")) << dismiss;
    const auto read = h.cli({"read-all"});
    EXPECT_EQ(read.status, exitSuccess) << "read marks stay local, as in the app";
}

TEST_F(ActionCommands, ADevicesCredentialsNeverGoToAnotherServer) {
    seeded();
    const auto before = h.savedConfig();
    const auto result = h.cli({"--server", "http://127.0.0.1:9", "status"});
    EXPECT_EQ(result.status, exitFailure);
    EXPECT_EQ(result.err, "orvelctl: the device in " + h.dataDirectory.string() + " belongs to " +
                              h.serviceURL() + "; use another --data-dir for http://127.0.0.1:9\n");
    EXPECT_EQ(h.savedConfig(), before);
    // The same server, written with a trailing slash, is no change.
    EXPECT_EQ(h.cli({"--server", h.serviceURL() + "/", "status"}).status, exitSuccess);
}

TEST_F(ActionCommands, ADirectoryTheUserNamedKeepsItsPermissions) {
    const auto url = h.startService(std::nullopt);
    h.dataDirectory = h.temporary / "shared";
    std::filesystem::create_directory(h.dataDirectory);
    ::chmod(h.dataDirectory.c_str(), 0755);
    EXPECT_EQ(h.cli({"--server", url, "status"}).status, exitSuccess);
    EXPECT_EQ(modeOf(h.dataDirectory), 0755u);
    EXPECT_EQ(modeOf(h.dataDirectory / "config.json"), 0600u) << "it holds the device token";

    h.dataDirectory = h.temporary / "shared" / "config.json";
    const auto notDirectory = h.cli({"status"});
    EXPECT_EQ(notDirectory.status, exitFailure);
    EXPECT_TRUE(notDirectory.err.ends_with("is not a directory\n")) << notDirectory;
}

} // namespace
