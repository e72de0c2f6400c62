// The read commands against the development service, seeded with a known
// morning: their text exactly, and their JSON read back.

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

    // Syncs once, so the local inbox holds the seeded updates.
    void synced() {
        const auto result = h.cli({"sync"});
        ASSERT_EQ(result.status, exitSuccess) << result;
    }

    std::string replaced(std::string text, std::string_view what, const std::string& with) {
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
            text.replace(at, what.size(), with);
            at += with.size();
        }
        return text;
    }

    CliHarness h;
    simdjson::dom::parser parser;
};

TEST_F(ReadCommands, SyncShowsTheBriefingAndTheNextOneCoversOnlyTheTimeSince) {
    const auto first = h.cli({"sync"});
    EXPECT_EQ(first.status, exitSuccess) << first;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out, R"(MORNING BRIEFING
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
    const auto second = h.cli({"sync"});
    EXPECT_EQ(second.status, exitSuccess) << second;
    EXPECT_TRUE(second.out.starts_with(
        "MORNING BRIEFING\nWhile you were away\n"
        "Nothing new since your last visit. 2 earlier items still need attention.\n"))
        << second;
}

TEST_F(ReadCommands, StatusCountsWhatTheInboxHolds) {
    const auto offline = h.cli({"status", "--offline"});
    EXPECT_EQ(offline.status, exitSuccess) << offline;
    EXPECT_EQ(offline.out, replaced(R"(Server:      URL
Device:      paired (account acct_seeded)
Channels:    2 (2 owned)
Updates:     0
Unread:      0
Attention:   none
Last error:  not checked (offline)
)",
                                    "URL", h.serviceURL()));

    const auto status = h.cli({"status"});
    EXPECT_EQ(status.status, exitSuccess) << status;
    EXPECT_EQ(status.out, replaced(R"(Server:      URL
Device:      paired (account acct_seeded)
Channels:    2 (2 owned)
Updates:     6
Unread:      5
Attention:   2 (2 unread), critical
Last error:  none
)",
                                   "URL", h.serviceURL()));

    const auto json = h.cli({"status", "--json"});
    ASSERT_EQ(json.status, exitSuccess) << json;
    simdjson::dom::element doc = parser.parse(json.out);
    EXPECT_EQ(std::string_view(doc["server"]), h.serviceURL());
    EXPECT_TRUE(bool(doc["paired"]));
    EXPECT_EQ(uint64_t(doc["updates"]), 6u);
    EXPECT_EQ(uint64_t(doc["unread"]), 5u);
    EXPECT_EQ(uint64_t(doc["attention"]), 2u);
    EXPECT_EQ(std::string_view(doc["emphasis"]), "critical");
    EXPECT_TRUE(doc["lastError"].is_null());
    EXPECT_EQ(json.out.find(Seed::deviceToken), std::string::npos) << "never the device token";
}

TEST_F(ReadCommands, UpdatesListsEveryUpdateNewestFirstAndFilters) {
    synced();
    const auto all = h.cli({"updates"});
    EXPECT_EQ(all.status, exitSuccess) << all;
    EXPECT_EQ(all.out, R"(All activity · 6
*  need     deploy    Approve the production deploy  5m   ntf_ops_3
*  failed   ci        Build #481 failed              10m  ntf_build_3
*  info     research  Overnight summary              30m  ntf_ops_2
*  done     ci        Build #480 passed              1h   ntf_build_2
   running  ci        Build #480 started             2h   ntf_build_1
*  running  indexer   Reindexing the archive         14h  ntf_ops_1
)");

    EXPECT_EQ(h.cli({"updates", "--filter", "needs-you"}).out,
              "All activity · Needs you · 1\n"
              "*  need  deploy  Approve the production deploy  5m  ntf_ops_3\n");
    EXPECT_EQ(h.cli({"updates", "--filter", "running"}).out,
              "All activity · Running · 2\n"
              "   running  ci       Build #480 started      2h   ntf_build_1\n"
              "*  running  indexer  Reindexing the archive  14h  ntf_ops_1\n");

    const auto json = h.cli({"updates", "--filter", "unread", "--json"});
    simdjson::dom::element doc = parser.parse(json.out);
    EXPECT_EQ(std::string_view(doc["filter"]), "unread");
    simdjson::dom::array rows = doc["updates"];
    EXPECT_EQ(rows.size(), 5u);
    simdjson::dom::element newest = rows.at(0);
    EXPECT_EQ(std::string_view(newest["id"]), "ntf_ops_3");
    EXPECT_EQ(std::string_view(newest["status"]), "need");
    EXPECT_EQ(std::string_view(newest["section"]), "needsYou");
    EXPECT_EQ(std::string_view(newest["relativeTime"]), "5m");
    EXPECT_TRUE(bool(newest["unread"]));
}

TEST_F(ReadCommands, ShowGivesOneUpdateInFull) {
    synced();
    const auto deploy = h.cli({"show", "ntf_ops_3"});
    EXPECT_EQ(deploy.status, exitSuccess) << deploy;
    EXPECT_EQ(deploy.out, R"(Approve the production deploy
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

    const auto held = h.cli({"show", "ntf_ops_2"});
    EXPECT_EQ(held.out, R"(Overnight summary
Status:    info
From:      research on ch_ops, update 2
Sent:      2026-12-06T09:30:00Z (30m)
Urgency:   normal
Unread:    yes
Delivery:  held until 08:00

Overnight summary
)");

    const auto json = h.cli({"show", "ntf_ops_2", "--json"});
    simdjson::dom::element doc = parser.parse(json.out);
    EXPECT_EQ(std::string_view(doc["channel"]), "ch_ops");
    EXPECT_EQ(uint64_t(doc["seq"]), 2u);
    EXPECT_TRUE(bool(doc["pending"]));
    EXPECT_EQ(std::string_view(doc["surfacesAt"]), "2026-12-07T08:00:00Z");
    EXPECT_TRUE(doc["body"].is_null());

    const auto missing = h.cli({"show", "ntf_nowhere"});
    EXPECT_EQ(missing.status, exitFailure);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "orvelctl: no update \"ntf_nowhere\" in the local inbox (orvelctl "
                           "sync fetches new ones)\n");
}

TEST_F(ReadCommands, ChannelsAndCardsComeFromTheSyncedInbox) {
    EXPECT_EQ(h.cli({"cards"}).out, "No persistent cards\n");
    synced();
    const auto channels = h.cli({"channels"});
    EXPECT_EQ(channels.status, exitSuccess) << channels;
    EXPECT_EQ(channels.out, "ch_ops    deploy     owned  Active · updated 5m ago\n"
                            "ch_build  Build bot  owned  Active · updated 10m ago\n");
    simdjson::dom::element list = parser.parse(h.cli({"channels", "--json"}).out);
    simdjson::dom::element ops = list["channels"].at(0);
    EXPECT_EQ(std::string_view(ops["activity"]), "active");
    EXPECT_EQ(std::string_view(ops["lastActivityAt"]), "2026-12-06T09:55:00Z");
    EXPECT_EQ(std::string_view(ops["createdAt"]), "2026-12-01T00:00:00Z");

    const auto cards = h.cli({"cards"});
    EXPECT_EQ(cards.out, R"(Cloud spend  ch_ops/spend
  Today       $44.95
  Agent runs  13 runs
)");
    simdjson::dom::element doc = parser.parse(h.cli({"cards", "--json"}).out);
    simdjson::dom::element card = doc["cards"].at(0);
    EXPECT_EQ(uint64_t(card["cardSeq"]), 2u);
    EXPECT_FALSE(bool(card["pinned"]));
    EXPECT_EQ(std::string_view(card["fields"].at(0)["value"]), "44.95");
    EXPECT_EQ(std::string_view(card["fields"].at(0)["role"]), "primary");
}

TEST_F(ReadCommands, SyncJsonCarriesTheBriefing) {
    const auto result = h.cli({"sync", "--json"});
    ASSERT_EQ(result.status, exitSuccess) << result;
    simdjson::dom::element doc = parser.parse(result.out);
    EXPECT_TRUE(bool(doc["ok"]));
    EXPECT_EQ(uint64_t(doc["updates"]), 6u);
    simdjson::dom::element briefing = doc["briefing"];
    EXPECT_EQ(std::string_view(briefing["period"]), "morning");
    EXPECT_EQ(std::string_view(briefing["scope"]), "overnight");
    EXPECT_EQ(std::string_view(briefing["eyebrow"]), "Morning briefing");
    EXPECT_EQ(std::string_view(briefing["summary"]),
              "2 items need attention in total. 6 updates from 4 channels overnight.");
    EXPECT_EQ(simdjson::dom::array(briefing["attention"]).size(), 2u);
    simdjson::dom::element transition = briefing["transitions"].at(0);
    EXPECT_EQ(std::string_view(transition["from"]), "done");
    EXPECT_EQ(std::string_view(transition["to"]), "failed");
    EXPECT_EQ(simdjson::dom::array(briefing["activity"]).size(), 6u);
}

} // namespace

namespace {

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
            EXPECT_EQ(result.out.find('\r'), std::string::npos) << result;
            EXPECT_EQ(result.out.find('\x07'), std::string::npos) << result;
            if (colour) {
                EXPECT_TRUE(onlyOwnEscapes(result.out)) << result;
            } else {
                EXPECT_EQ(result.out.find('\x1b'), std::string::npos) << result;
            }
        }
    }
    h.color = true;
    EXPECT_NE(h.cli({"updates"}).out.find("\x1b[33mneed"), std::string::npos)
        << "a terminal gets colour";
    // JSON carries the text as it was sent, escaped by the JSON rules.
    simdjson::dom::parser parser;
    simdjson::dom::element doc = parser.parse(h.cli({"show", "ntf_build_3", "--json"}).out);
    EXPECT_EQ(std::string_view(doc["title"]), update.title);
}

} // namespace
