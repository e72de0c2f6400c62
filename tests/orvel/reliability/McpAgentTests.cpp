// An agent handed the channel instructions posts over MCP, and the desktop's
// next sync shows what it sent: the whole way from the instructions to the
// inbox, over real HTTP.

#include "orvel/core/AgentInstructions.h"
#include "tests/orvel/reliability/LiveModel.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"
#include "tests/tools/McpClient.h"

#include <gtest/gtest.h>

namespace OrvelTest {
namespace {

TEST(McpAgent, UpdatesAndCardsSentOverMcpShowOnTheNextSync) {
    TemporaryDirectory directory;
    OrvelDev::Testing::RunningServer service;
    LiveModel::writeConfig(directory.path(), service.baseURL() + "/");
    LiveModel live(directory.path());
    live.refresh();
    live.run(live->createEngagement());
    ASSERT_TRUE(live->engagement()) << live->lastError().value_or("");
    const auto engagement = *live->engagement();

    // The instructions name this service's endpoint, not the public one.
    const std::string instructions = Orvel::AgentInstructions::channelInstructions(
        engagement, OrvelKit::ServiceAddresses(live->config().serverURL));
    EXPECT_NE(instructions.find(" at " + service.baseURL() + "/mcp. "), std::string::npos)
        << instructions;

    OrvelDev::Testing::McpClient agent(service.port());
    agent.handshake();
    const std::string key = R"({"channel_key":")" + engagement.token + "\",";
    const auto update =
        agent.send(key + R"("title":"Deploy finished","status":"done","urgency":"high",)" +
                   R"("deliver_when":"immediately","fields":[{"label":"env","value":"prod"}]})");
    EXPECT_EQ(update.number("/result/structuredContent/seq"), 1) << update.body;
    const auto card = agent.send(
        key + R"("card":{"card_key":"spend","update_id":"u1",)" +
        R"("definition":{"title":"Spend","renderer":"metric","fields":[{"id":"total",)" +
        R"("kind":"money","label":"Total","role":"primary"}]},"operation":{"kind":"snapshot",)" +
        R"("values":[{"field_id":"total","kind":"money","value":"12.5","display":"$12.50"}]}}})");
    EXPECT_EQ(card.number("/result/structuredContent/card_seq"), 1) << card.body;

    live.refresh();
    ASSERT_FALSE(live->lastError()) << *live->lastError();
    const auto* channel = live->inbox().channel(engagement.channel);
    ASSERT_NE(channel, nullptr);
    ASSERT_EQ(channel->notifications().size(), 1u);
    const auto& note = channel->notifications().front();
    EXPECT_EQ(note.id, update.text("/result/structuredContent/id"));
    EXPECT_EQ(note.title, "Deploy finished");
    EXPECT_EQ(note.status, "done");
    EXPECT_EQ(note.urgency, OrvelProtocol::Urgency::high);
    EXPECT_EQ(note.fields, (std::vector<OrvelProtocol::CardField>{{"env", "prod"}}));
    ASSERT_EQ(channel->cardUpdates().size(), 1u);
    const auto& cardUpdate = channel->cardUpdates().front();
    EXPECT_EQ(cardUpdate.id, card.text("/result/structuredContent/id"));
    EXPECT_EQ(cardUpdate.operation.kind, "snapshot");
    ASSERT_EQ(cardUpdate.operation.values.size(), 1u);
    EXPECT_EQ(cardUpdate.operation.values[0].display, "$12.50");
}

} // namespace
} // namespace OrvelTest
