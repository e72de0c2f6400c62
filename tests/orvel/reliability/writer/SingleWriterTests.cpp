// One writer per data directory, with real processes: the lock holder
// (orvel_holder_driver, the desktop app's wiring without the tray), orvelctl
// and a development service, on a private session bus (main below).

#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/orvel/reliability/LiveModel.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sstream>

namespace OrvelTest {
namespace {

using namespace std::chrono_literals;

bool busReady = false;

// "saved <highest seq> <dismissed>" lines of the driver.
bool savedAtLeast(const std::string& line, std::uint64_t seq, std::size_t dismissed) {
    std::istringstream fields(line);
    std::string word;
    std::uint64_t highest = 0;
    std::size_t count = 0;
    return fields >> word >> highest >> count && word == "saved" && highest >= seq &&
           count >= dismissed;
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class SingleWriter : public ::testing::Test {
protected:
    void SetUp() override {
        if (!busReady) {
            GTEST_SKIP() << "no dbus-daemon for a private session bus";
        }
        const auto account = service.account();
        device = account.device;
        engagement = account.engagement;
        LiveModel::writeConfig(directory.path(), service.baseURL(), device, engagement);
    }

    // Starts the holder and waits until orvelctl can reach it.
    void startHolder() {
        holder.emplace(std::vector<std::string>{ORVEL_HOLDER_DRIVER, directory.path().string()},
                       std::map<std::string, std::string>{}, 077);
        ASSERT_TRUE(holder->readUntil(
            [](const std::string& line) { return line.starts_with("ready :"); }, 20s))
            << holder->output();
    }

    // Publishes an update and waits until the holder's file holds it and at
    // least `dismissed` dismissals.
    std::uint64_t publishAndSave(const std::string& title, std::size_t dismissed = 0) {
        const auto seq = service.publish(engagement.token, title);
        EXPECT_TRUE(holder->readUntil(
            [&](const std::string& line) { return savedAtLeast(line, seq, dismissed); }, 20s))
            << holder->output();
        return seq;
    }

    const OrvelKit::ChannelInbox* savedChannel() {
        saved = OrvelKit::FileInboxStore(directory / "inbox.json").load().value();
        return saved.channel(engagement.channel);
    }

    // The real orvelctl on the directory; its standard error kept apart.
    CliRun orvelctl(std::vector<std::string> arguments,
                    const std::map<std::string, std::string>& environment = {}) {
        arguments.insert(arguments.begin(),
                         {ORVELCTL_PATH, "--data-dir", directory.path().string()});
        ChildProcess child(arguments, environment, std::nullopt, scratch / "err");
        const int status = child.wait(20s);
        return {status, child.output(), readText(scratch / "err")};
    }

    OrvelDev::Testing::RunningServer service;
    TemporaryDirectory scratch;
    TemporaryDirectory directory;
    OrvelProtocol::DeviceCredentials device;
    OrvelProtocol::Engagement engagement;
    std::optional<ChildProcess> holder;
    OrvelKit::Inbox saved;
};

// Before: orvelctl wrote inbox.json itself and the running app's next save
// put back its own copy. A dismissal the service had not taken yet (it is
// replayed by a later sync) was lost for good.
TEST_F(SingleWriter, ChangesWhileTheHolderRunsAreCarriedOutByIt) {
    startHolder();
    const auto seq = publishAndSave("Deploy waits for approval");
    const auto* channel = savedChannel();
    ASSERT_TRUE(channel && !channel->notifications().empty());
    const auto id = channel->notifications().front().id;

    service.faults().set("/dismiss", OrvelDev::Fault::withStatus(503));
    const auto refused = orvelctl({"dismiss", id});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    // The holder's own refreshes replay it meanwhile, so either failure may be told.
    EXPECT_TRUE(refused.err.starts_with("orvelctl: ") &&
                refused.err.ends_with("http(status: 503) (it is sent again with the next sync)\n"))
        << refused.err;

    // The holder's next save keeps it; once the service takes dismissals
    // again, the holder's sync replays it.
    publishAndSave("Build finished", 1);
    channel = savedChannel();
    ASSERT_TRUE(channel);
    EXPECT_TRUE(channel->isDismissed(seq));
    service.faults().clearAll();
    EXPECT_TRUE(eventually(
        [&] {
            const auto record = service.sync(device.deviceToken);
            return record.channels.size() == 1 &&
                   record.channels[0].dismissedSeqs == std::vector<std::uint64_t>{seq};
        },
        20s));

    // Carried out by the holder, told as orvelctl tells it itself.
    const auto secondId = savedChannel()->notifications().front().id;
    const auto dismissed = orvelctl({"dismiss", secondId});
    EXPECT_EQ(dismissed.status, 0) << dismissed.err;
    EXPECT_EQ(dismissed.out, "Dismissed: Build finished\n");
    EXPECT_TRUE(eventually(
        [&] {
            const auto record = service.sync(device.deviceToken);
            return record.channels.size() == 1 && record.channels[0].dismissedSeqs.size() == 2;
        },
        20s));
}

// Before: orvelctl changed the files under the running holder.
TEST_F(SingleWriter, AHolderThatCannotBeReachedIsNamedAndLeftAlone) {
    startHolder();
    publishAndSave("Reindex running");
    const auto before = readText(directory / "inbox.json");
    const std::map<std::string, std::string> noBus{
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (scratch / "no-bus").string()}};

    const auto change = orvelctl({"read-all"}, noBus);
    EXPECT_EQ(change.status, 1);
    EXPECT_EQ(change.out, "");
    const auto expectedStart =
        "orvelctl: " + directory.path().string() + " is in use by another process (pid ";
    EXPECT_TRUE(change.err.starts_with(expectedStart)) << change.err;
    EXPECT_NE(change.err.find(") that can't be reached: "), std::string::npos) << change.err;
    EXPECT_EQ(std::count(change.err.begin(), change.err.end(), '\n'), 1) << change.err;
    EXPECT_EQ(readText(directory / "inbox.json"), before);

    // Reading takes the files as they stand.
    const auto read = orvelctl({"updates"}, noBus);
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_NE(read.out.find("Reindex running"), std::string::npos) << read.out;
}

// Before: the signal ended the holder with the merge's save still queued.
TEST_F(SingleWriter, ASignalRightAfterAMergeLeavesTheMergeOnDisk) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        startHolder();
        const auto seq = service.publish(engagement.token, "Merged just now");
        ASSERT_TRUE(holder->readUntil(
            [&](const std::string& line) { return line == "merged " + std::to_string(seq); }, 20s))
            << holder->output();
        holder->signal(signal);
        EXPECT_EQ(holder->wait(20s), 0) << holder->output();
        const auto* channel = savedChannel();
        ASSERT_TRUE(channel);
        EXPECT_EQ(channel->latestSeq(), seq);
        holder.reset();
    }
}

} // namespace
} // namespace OrvelTest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // A private session bus; it writes its address as its first line.
    OrvelTest::ChildProcess bus(
        {"/usr/bin/env", "dbus-daemon", "--session", "--nofork", "--nosyslog", "--print-address=1"},
        {}, std::nullopt, "/dev/null");
    if (bus.readUntil([](const std::string&) { return true; }, std::chrono::seconds(10))) {
        setenv("DBUS_SESSION_BUS_ADDRESS", bus.lines().front().c_str(), 1);
        OrvelTest::busReady = true;
    }
    return RUN_ALL_TESTS();
}
