#include "tools/devserver/StateFile.h"

#include "HttpTestSupport.h"
#include "ServiceTestSupport.h"
#include "orvelkit/protocol/Protocol.h"
#include "tools/devserver/ServiceRecords.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;
namespace fs = std::filesystem;

class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orvel-devserver-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory = pattern;
        file = directory / "state.json";
    }
    void TearDown() override { fs::remove_all(directory); }

    DevServerOptions options() const {
        DevServerOptions options;
        options.stateFile = file;
        return options;
    }

    fs::path directory;
    fs::path file;
};

TEST_F(StateFileTest, StateSurvivesARestartInAPrivateFile) {
    DeviceCredentials device;
    Engagement engagement;
    {
        RunningServer http(options());
        ASSERT_TRUE(http.started());
        device = http.call<DeviceCredentials>("/pair/bootstrap", EmptyBody{});
        engagement = http.call<Engagement>("/engage", EngageBody{}, device.deviceToken);
        http.call<PublishAck>("/publish", update("kept"), engagement.token);
        http.call<ReadAck>("/read", ReadBody{engagement.channel, 1}, device.deviceToken);
    }
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1)
        << "no temporary files left behind";

    RunningServer again(options());
    ASSERT_TRUE(again.started());
    EXPECT_EQ(again.call<PublishAck>("/publish", update("after restart"), engagement.token).seq,
              2u);
    const auto sync = RunningServer::answer<SyncResponse>(again.get("/sync", device.deviceToken));
    ASSERT_EQ(sync.channels.size(), 1u);
    EXPECT_EQ(sync.channels[0].notifications.size(), 2u);
    EXPECT_EQ(sync.channels[0].readSeq, 1u);
}

TEST_F(StateFileTest, AnUnreadableFileStopsTheStartAndIsLeftAlone) {
    {
        std::ofstream out(file);
        out << R"({"version":1,"devices":[{"token":"t"}]})";
    }
    DevServer server(options());
    auto started = server.start();
    ASSERT_FALSE(started);
    EXPECT_NE(started.error().find("accountId"), std::string::npos) << started.error();

    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, R"({"version":1,"devices":[{"token":"t"}]})");

    // Decodes, but names an account that does not exist.
    StateFile state(file);
    DevState dangling;
    dangling.devices.push_back({"orvel_dev_x", "acct_missing", "2026-01-01T00:00:00.000Z"});
    ASSERT_TRUE(state.save(dangling));
    DevServer second(options());
    EXPECT_FALSE(second.start());
}

} // namespace
} // namespace OrvelDev
