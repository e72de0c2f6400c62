// The app model killed (SIGKILL) at random moments of a busy loop of syncs,
// dismissals and read marks, and started again on the same files: the files
// always load, nothing the last completed save held is missing, and local
// dismissals the service never acknowledged reach it after the restart.

#include "orvel/core/FilePreferences.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/orvel/reliability/LiveModel.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Records.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"
#include "tools/devserver/Fault.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

namespace OrvelTest {
namespace {

using namespace std::chrono_literals;

constexpr int kills = 20;

// What one "saved" line of the driver says of the channel.
struct SavedLine {
    std::uint64_t dismissed = 0;
    std::uint64_t highest = 0;
    std::uint64_t readMark = 0;
};

// "saved <dismissed seq, 0 for none> <highest seq> <read mark>"
std::optional<SavedLine> parseSaved(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    SavedLine saved;
    if (in >> word >> saved.dismissed >> saved.highest >> saved.readMark && word == "saved") {
        return saved;
    }
    return std::nullopt;
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        const auto account = service.account();
        device = account.device;
        engagement = account.engagement;
        expectedConfig =
            LiveModel::writeConfig(directory.path(), service.baseURL(), device, engagement);
    }

    // Agents post `count` more updates, a third of them needing the user.
    void publish(int count) {
        for (int i = 0; i < count; ++i, ++published) {
            service.publish(engagement.token, "Step " + std::to_string(published + 1),
                            published % 3 == 0 ? "need" : "done");
        }
    }

    // Reads what the driver said and checks the files against its last
    // completed save.
    void checkFilesAfterKill(const ChildProcess& driver) {
        for (const auto& line : driver.lines()) {
            if (auto saved = parseSaved(line)) {
                if (saved->dismissed) {
                    dismissedSoFar.insert(saved->dismissed);
                }
                lastSaved = *saved;
                ++savesSeen;
            }
        }
        std::vector<std::string> problems;
        const auto sink = [&](const OrvelKit::StoreDiagnostic& diagnostic) {
            problems.push_back(diagnostic.file.filename().string() + ": " + diagnostic.message);
        };
        EXPECT_EQ(OrvelKit::FileConfigStore(directory / "config.json", sink).load().value(),
                  expectedConfig);
        const auto inbox = OrvelKit::FileInboxStore(directory / "inbox.json", sink).load().value();
        Orvel::FilePreferences preferences(directory / "preferences.json", sink);
        EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
        for (const auto& name : namesIn(directory.path())) {
            EXPECT_EQ(name.find("unreadable"), std::string::npos) << name;
            EXPECT_TRUE(name.find(".json.") != std::string::npos ||
                        modeOf(directory / name) == 0600u)
                << name;
        }
        if (!lastSaved) {
            return;
        }
        EXPECT_TRUE(preferences.boolValue("groupActivityUpdates").has_value());
        const auto* channel = inbox.channel(engagement.channel);
        ASSERT_TRUE(channel || (lastSaved->highest == 0 && dismissedSoFar.empty()));
        const auto held = channel ? seqs(channel->notifications()) : std::vector<std::uint64_t>{};
        const std::set<std::uint64_t> present(held.begin(), held.end());
        for (std::uint64_t seq = 1; seq <= lastSaved->highest; ++seq) {
            ASSERT_TRUE(present.contains(seq)) << "update " << seq;
        }
        for (const auto seq : dismissedSoFar) {
            EXPECT_TRUE(channel->isDismissed(seq)) << "dismissal " << seq;
        }
        EXPECT_TRUE(!channel || channel->lastReadSeq() >= lastSaved->readMark);
    }

    TemporaryDirectory directory;
    OrvelDev::Testing::RunningServer service;
    OrvelProtocol::DeviceCredentials device;
    OrvelProtocol::Engagement engagement;
    OrvelKit::AppConfig expectedConfig;

    std::uint64_t published = 0;

    std::optional<SavedLine> lastSaved;
    std::set<std::uint64_t> dismissedSoFar;
    int savesSeen = 0;
    std::string allOutput;
};

TEST_F(CrashSafety, KillsAtRandomMomentsLoseNothingThatWasSaved) {
    std::mt19937 random(20261206);
    for (int round = 0; round < kills; ++round) {
        SCOPED_TRACE("kill " + std::to_string(round + 1));
        // Every other run, and the last few, the service refuses
        // dismissals, so some stay local only until a later run replays
        // them. Runs alternate between a strict and an open umask.
        if (round % 2 == 0 || round >= kills - 4) {
            service.faults().set("/dismiss", OrvelDev::Fault::withStatus(503));
        } else {
            service.faults().clear("/dismiss");
        }
        publish(25);
        ChildProcess driver({ORVEL_CRASH_DRIVER, directory.path().string()}, {},
                            round % 2 == 0 ? 077 : 0);
        // Every fourth run dies anywhere from start-up on; the others once
        // the loop has saved at least once (a slow build may take a while to
        // get there), at a random moment of it.
        if (round % 4 != 3) {
            ASSERT_TRUE(driver.readUntil(
                [](const std::string& line) { return line.starts_with("saved "); }, 60s))
                << driver.output();
        }
        driver.readFor(std::chrono::milliseconds(random() % 250));
        const int status = driver.kill();
        // Still running when killed: it did not stop or crash on its own.
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << driver.output();
        allOutput += driver.output();
        checkFilesAfterKill(driver);
        if (HasFatalFailure()) {
            return;
        }
    }
    ASSERT_GE(savesSeen, kills * 3 / 4) << allOutput;

    // Once more, with a healthy service, until the driver has caught up.
    // Its first refresh replays every dismissal the service refused before.
    service.faults().clearAll();
    const auto refusedOrNot = OrvelKit::FileInboxStore(directory / "inbox.json")
                                  .load()
                                  .value()
                                  .channel(engagement.channel)
                                  ->dismissedSeqs();
    const auto before = service.sync(device.deviceToken).channels.at(0).dismissedSeqs;
    const auto pending = static_cast<std::size_t>(
        std::count_if(refusedOrNot.begin(), refusedOrNot.end(), [&](std::uint64_t seq) {
            return std::find(before.begin(), before.end(), seq) == before.end();
        }));
    // Some were refused: the restart has something to replay.
    EXPECT_GT(pending, 0u);
    ChildProcess driver({ORVEL_CRASH_DRIVER, directory.path().string()}, {}, 022);
    const std::uint64_t total = published;
    const bool caughtUp = driver.readUntil(
        [&](const std::string& line) {
            const auto saved = parseSaved(line);
            return saved && saved->highest == total;
        },
        60s);
    driver.kill();
    allOutput += driver.output();
    ASSERT_TRUE(caughtUp) << driver.output();
    checkFilesAfterKill(driver);

    const auto record = service.sync(device.deviceToken);
    ASSERT_EQ(record.channels.size(), 1u);
    const std::set<std::uint64_t> atService(record.channels[0].dismissedSeqs.begin(),
                                            record.channels[0].dismissedSeqs.end());
    for (const auto seq : refusedOrNot) {
        EXPECT_TRUE(atService.contains(seq)) << "dismissal " << seq << " never reached the service";
    }

    // Nothing the process wrote, up to its death, carries a token.
    for (const auto& secret : {device.deviceToken, engagement.token}) {
        EXPECT_EQ(allOutput.find(secret), std::string::npos);
        EXPECT_EQ(service.log().find(secret), std::string::npos);
    }
    RecordProperty("completed_saves", savesSeen);
}

} // namespace
} // namespace OrvelTest
