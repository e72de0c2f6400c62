// orvel-send against the development service: the line it prints, refusals
// without the token, and the exit status of the program itself.

#include "tools/send/Publisher.h"

#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace OrvelSend {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

TEST(Publisher, PublishesToTheTokensChannelAndReportsRefusals) {
    RunningServer http;
    ASSERT_TRUE(http.started());
    const auto engagement = http.account().engagement;

    SendCommand command{http.server().baseURL() + "//", engagement.token, update("Build failed")};
    auto published = publish(command);
    ASSERT_TRUE(published) << published.error();
    EXPECT_TRUE(published->starts_with("id=ntf_")) << *published;
    EXPECT_NE(published->find(" seq=1 channel=" + engagement.channel + " created_at="),
              std::string::npos)
        << *published;

    command.payload = cardUpdate("u1");
    published = publish(command);
    ASSERT_TRUE(published) << published.error();
    EXPECT_NE(published->find(" card_seq=1 "), std::string::npos) << *published;

    command.payload = update("refused");
    command.token = "orvel_pub_wrong";
    published = publish(command);
    ASSERT_FALSE(published);
    EXPECT_EQ(published.error(), "the service answered 401: unknown publish token");

    http.server().stop();
    command.token = engagement.token;
    published = publish(command);
    ASSERT_FALSE(published);
    EXPECT_TRUE(published.error().starts_with("cannot reach ")) << published.error();
    EXPECT_EQ(published.error().find(engagement.token), std::string::npos);
}

TEST(OrvelSendProgram, ExitsZeroOnlyWhenThePublishWasAccepted) {
    RunningServer http;
    ASSERT_TRUE(http.started());
    const auto engagement = http.account().engagement;
    const auto run = [&](const std::string& arguments) {
        const auto command = std::string(ORVEL_SEND_PROGRAM) + " --server " +
                             http.server().baseURL() + " " + arguments + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("--token " + engagement.token + " --title accepted"), 0);
    EXPECT_EQ(run("--token orvel_pub_wrong --title refused"), 1);
    EXPECT_EQ(run("--token " + engagement.token + " --urgency urgent --title bad"), 2);
}

} // namespace
} // namespace OrvelSend
