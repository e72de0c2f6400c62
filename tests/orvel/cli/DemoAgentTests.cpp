// The demo agent's stream, posted all at once, as orvelctl then sees it.

#include "tests/orvel/cli/CliHarness.h"
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>
#include <simdjson.h>

namespace {

using namespace OrvelTest;
using Orvel::Cli::exitSuccess;

TEST(DemoAgent, ItsStreamArrivesWhole) {
    CliHarness h;
    h.clock.set(OrvelKit::Date::now());
    const auto url = h.startService(std::nullopt);
    const auto created = h.cli({"--server", url, "channel", "create", "--json"});
    ASSERT_EQ(created.status, exitSuccess) << created;
    simdjson::dom::parser parser;
    const std::string token{std::string_view(parser.parse(created.out)["token"])};

    ChildProcess agent({"/bin/bash", ORVEL_DEMO_AGENT_PATH, "--server", url},
                       {{"ORVEL_PUBLISH_TOKEN", token},
                        {"ORVEL_SEND", ORVEL_SEND_PATH},
                        {"ORVEL_DEMO_PACE", "0"}});
    ASSERT_TRUE(agent.started());
    ASSERT_EQ(agent.wait(), 0) << agent.output();
    EXPECT_EQ(agent.output().find(token), std::string::npos) << "the agent never shows its token";

    const auto sync = h.cli({"sync", "--json"});
    ASSERT_EQ(sync.status, exitSuccess) << sync;
    simdjson::dom::element doc = parser.parse(sync.out);
    EXPECT_EQ(uint64_t(doc["updates"]), 8u);
    simdjson::dom::element briefing = doc["briefing"];
    // The deploy waits on a decision; the build failed, then passed. (What
    // else the demo says is its own text; the counts show it all arrived.)
    simdjson::dom::element attention = briefing["attention"].at(0);
    EXPECT_EQ(std::string_view(attention["summary"]), "Approve the production deploy");
    EXPECT_EQ(simdjson::dom::array(briefing["attention"]).size(), 1u);
    // The card: a snapshot and two deltas.
    simdjson::dom::element cards = parser.parse(h.cli({"cards", "--json"}).out);
    simdjson::dom::element card = cards["cards"].at(0);
    EXPECT_EQ(std::string_view(card["title"]), "Cloud spend");
    EXPECT_EQ(std::string_view(card["fields"].at(0)["value"]), "46.05");
    EXPECT_EQ(std::string_view(card["fields"].at(1)["value"]), "15");
}

} // namespace
