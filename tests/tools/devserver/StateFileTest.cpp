#include "tools/devserver/StateFile.h"

#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;
using OrvelTest::TemporaryDirectory;

DevServerOptions stateIn(const std::filesystem::path& file) {
    DevServerOptions options;
    options.stateFile = file;
    return options;
}

TEST(StateFile, StateSurvivesARestartInAPrivateFile) {
    TemporaryDirectory directory;
    const auto file = directory / "state.json";
    Account account;
    {
        RunningServer http(stateIn(file));
        ASSERT_TRUE(http.started());
        account = http.account();
        EXPECT_EQ(http.publish(account.engagement.token, "kept"), 1u);
        http.call<ReadAck>("/read", ReadBody{account.engagement.channel, 1},
                           account.device.deviceToken);
    }
    EXPECT_EQ(OrvelTest::modeOf(file), 0600u);
    EXPECT_EQ(OrvelTest::namesIn(directory.path()), std::vector<std::string>{"state.json"})
        << "no temporary files left behind";

    RunningServer again(stateIn(file));
    ASSERT_TRUE(again.started());
    EXPECT_EQ(
        again.call<PublishAck>("/publish", update("after restart"), account.engagement.token).seq,
        2u);
    const auto sync =
        OrvelTest::decodedAnswer<SyncResponse>(again.get("/sync", account.device.deviceToken));
    ASSERT_EQ(sync.channels.size(), 1u);
    EXPECT_EQ(sync.channels[0].notifications.size(), 2u);
    EXPECT_EQ(sync.channels[0].readSeq, 1u);
}

} // namespace
} // namespace OrvelDev
