// The read commands against the development service, seeded with a known
// morning: one golden text per command, and their JSON read back.

#include "tests/orvel/cli/CliHarness.h"

#include <gtest/gtest.h>
#include <simdjson.h>

namespace {

using namespace OrvelTest;
using Orvel::Cli::exitFailure;
using Orvel::Cli::exitSuccess;

class ReadCommands : public ::testing::Test {
protected:
    void SetUp() override {
        h.startService();
        h.pairAsSeededDesktop();
    }

    simdjson::dom::element json(std::vector<std::string> arguments) {
        arguments.push_back("--json");
        text = h.ok(arguments);
        return parser.parse(text);
    }

    CliHarness h;
    simdjson::dom::parser parser;
    std::string text;
};

TEST_F(ReadCommands, SyncShowsTheBriefingAndTheNextOneCoversOnlyTheTimeSince) {
    EXPECT_EQ(h.ok({"sync"}), R"(MORNING BRIEFING
While you were away
2 items need attention in total. 6 updates from 4 channels overnight.

Needs attention
  *  need    deploy  Approve the production deploy  5m   ntf_ops_3
  *  failed  ci      Build #481 failed              10m  ntf_build_3

What changed
  done  ->  failed  ci  Build #481 failed  10m  ntf_build_3

On your radar
  *  info     research  Overnight summary       30m  ntf_ops_2
  *  running  indexer   Reindexing the archive  14h  ntf_ops_1
)");

    // A sync is a look at the inbox: ten minutes later the window starts there.
    h.clock.advance(600);
    simdjson::dom::element doc = json({"sync"});
    EXPECT_TRUE(bool(doc["ok"]));
    EXPECT_EQ(std::string_view(doc["briefing"]["summary"]),
              "Nothing new since your last visit. 2 earlier items still need attention.");
}

TEST_F(ReadCommands, StatusCountsWhatTheInboxHolds) {
    EXPECT_EQ(h.ok({"status"}), "Server:      " + h.serviceURL() + R"(
Device:      paired (account acct_seeded)
Channels:    2 (2 owned)
Updates:     6
Unread:      5
Attention:   2 (2 unread), critical
Last error:  none
)");
    simdjson::dom::element doc = json({"status"});
    EXPECT_EQ(uint64_t(doc["unread"]), 5u);
    EXPECT_EQ(text.find(Seed::deviceToken), std::string::npos) << "never the device token";
}

TEST_F(ReadCommands, UpdatesListsEveryUpdateNewestFirstAndFilters) {
    h.ok({"sync"});
    EXPECT_EQ(h.ok({"updates"}), R"(All activity · 6
*  need     deploy    Approve the production deploy  5m   ntf_ops_3
*  failed   ci        Build #481 failed              10m  ntf_build_3
*  info     research  Overnight summary              30m  ntf_ops_2
*  done     ci        Build #480 passed              1h   ntf_build_2
   running  ci        Build #480 started             2h   ntf_build_1
*  running  indexer   Reindexing the archive         14h  ntf_ops_1
)");
    simdjson::dom::element doc = json({"updates", "--filter", "unread"});
    EXPECT_EQ(simdjson::dom::array(doc["updates"]).size(), 5u);
    EXPECT_EQ(std::string_view(doc["updates"].at(0)["section"]), "needsYou");
}

TEST_F(ReadCommands, ShowGivesOneUpdateInFull) {
    h.ok({"sync"});
    EXPECT_EQ(h.ok({"show", "ntf_ops_3"}), R"(Approve the production deploy
Status:   need · Waiting on you
From:     deploy on ch_ops, update 3
Sent:     2026-12-06T09:55:00Z (5m)
Urgency:  critical
Unread:   yes

Release 1.4.2 is staged.
Approve it in the console.

Rollback plan: redeploy 1.4.1.

version  1.4.2

Links
  Console  https://deploy.example/approve

Clear it from your attention with: orvelctl dismiss ntf_ops_3
)");
    simdjson::dom::element doc = json({"show", "ntf_ops_2"});
    EXPECT_EQ(std::string_view(doc["surfacesAt"]), "2026-12-07T08:00:00Z");

    const auto missing = h.cli({"show", "ntf_nowhere"});
    EXPECT_EQ(missing.status, exitFailure);
    EXPECT_EQ(missing.err, "orvelctl: no update \"ntf_nowhere\" in the local inbox (orvelctl "
                           "sync fetches new ones)\n");
}

TEST_F(ReadCommands, ChannelsAndCardsComeFromTheSyncedInbox) {
    h.ok({"sync"});
    EXPECT_EQ(h.ok({"channels"}), "ch_ops    deploy     owned  Active · updated 5m ago\n"
                                  "ch_build  Build bot  owned  Active · updated 10m ago\n");

    EXPECT_EQ(h.ok({"cards"}), R"(Cloud spend  ch_ops/spend
  Today       $44.95
  Agent runs  13 runs
)");
    simdjson::dom::element card = json({"cards"})["cards"].at(0);
    EXPECT_EQ(uint64_t(card["cardSeq"]), 2u);
    EXPECT_EQ(std::string_view(card["fields"].at(0)["value"]), "44.95");
}

// Every escape sequence in `text` is one of the colour codes orvelctl writes.
bool onlyOwnEscapes(const std::string& text) {
    static const std::vector<std::string> own{"\x1b[0m",  "\x1b[1m",  "\x1b[2m", "\x1b[31m",
                                              "\x1b[32m", "\x1b[33m", "\x1b[36m"};
    for (auto at = text.find('\x1b'); at != std::string::npos; at = text.find('\x1b', at + 1)) {
        if (std::none_of(own.begin(), own.end(), [&](const std::string& code) {
                return text.compare(at, code.size(), code) == 0;
            })) {
            return false;
        }
    }
    return true;
}

TEST(ReadCommandsOfHostileText, AgentTextIsMadeHarmlessOnTheWayOut) {
    CliHarness h;
    auto state = Seed::state();
    auto& update = state.channels[0].notifications[2];
    update.title = "Build \x1b[2J\x1b]0;owned\x07#481 failed";
    update.sender = "ci\r\x1b[1A";
    update.body = "line one\n\x1b[31mred\x1b[0m line two";
    h.startService(state);
    h.pairAsSeededDesktop();
    for (const bool colour : {false, true}) {
        h.color = colour;
        for (const auto& command : std::vector<std::vector<std::string>>{
                 {"sync"}, {"updates"}, {"show", "ntf_build_3"}, {"channels"}}) {
            const auto result = h.cli(command);
            ASSERT_EQ(result.status, exitSuccess) << result;
            EXPECT_EQ(result.out.find_first_of("\r\x07"), std::string::npos) << result;
            EXPECT_TRUE(colour ? onlyOwnEscapes(result.out)
                               : result.out.find('\x1b') == std::string::npos)
                << result;
        }
    }
    EXPECT_NE(h.cli({"updates"}).out.find("\x1b[33mneed"), std::string::npos)
        << "a terminal gets colour";
    // JSON carries the text as it was sent, escaped by the JSON rules.
    simdjson::dom::parser parser;
    simdjson::dom::element doc = parser.parse(h.cli({"show", "ntf_build_3", "--json"}).out);
    EXPECT_EQ(std::string_view(doc["title"]), update.title);
}

} // namespace
