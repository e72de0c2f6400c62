// The app model killed (SIGKILL) at random moments of a busy loop of syncs,
// dismissals and read marks, and started again on the same files: the files
// always load, nothing the last completed save held is missing, and local
// dismissals the service never acknowledged reach it after the restart.

#include "orvel/core/FilePreferences.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/orvel/reliability/LiveService.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Records.h"
#include "tests/support/TemporaryDirectory.h"
#include "tools/devserver/Fault.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

namespace OrvelTest {
namespace {

using namespace std::chrono_literals;

constexpr int kills = 20;

// What one "saved" line of the driver says about a channel.
struct SavedChannel {
    std::uint64_t highest = 0;
    std::uint64_t count = 0;
    std::uint64_t readMark = 0;
};

struct SavedLine {
    std::uint64_t round = 0;
    std::optional<std::pair<std::string, std::uint64_t>> dismissed;
    std::map<std::string, SavedChannel> channels;
};

// "saved <round> <channel>:<seq>|- <channel>:<highest>:<count>:<read> ..."
// (channel ids hold no colon).
std::optional<SavedLine> parseSaved(std::string line) {
    if (!line.starts_with("saved ")) {
        return std::nullopt;
    }
    std::replace(line.begin(), line.end(), ':', ' ');
    std::istringstream in(line.substr(6));
    SavedLine saved;
    std::string id;
    in >> saved.round >> id;
    if (id != "-") {
        std::uint64_t seq = 0;
        in >> seq;
        saved.dismissed.emplace(id, seq);
    }
    for (SavedChannel channel; in >> id >> channel.highest >> channel.count >> channel.readMark;) {
        saved.channels[id] = channel;
    }
    return saved;
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        device = service.bootstrap();
        engagement = service.engage(device.deviceToken);
        expectedConfig.serverURL = service.baseURL();
        expectedConfig.deviceToken = device.deviceToken;
        expectedConfig.accountId = device.accountId;
        expectedConfig.channels = {{engagement.channel, engagement.token, "2026-12-06T10:00:00Z"}};
        OrvelKit::FileConfigStore(directory / "config.json").save(expectedConfig);
    }

    // An agent posting as fast as the service takes it.
    void startPublishing() {
        publisher = std::thread([this] {
            while (!stopPublishing) {
                const auto seq =
                    service.publish(engagement.token, "Step " + std::to_string(published + 1),
                                    published % 3 == 0 ? "need" : "done");
                if (seq == 0) {
                    break;
                }
                published = seq;
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    void stopPublisher() {
        stopPublishing = true;
        if (publisher.joinable()) {
            publisher.join();
        }
    }
    void TearDown() override { stopPublisher(); }

    // Reads what the driver said and checks the files against its last
    // completed save.
    void checkFilesAfterKill(const ChildProcess& driver) {
        for (const auto& line : driver.lines()) {
            if (auto saved = parseSaved(line)) {
                if (saved->dismissed) {
                    dismissedSoFar.insert(*saved->dismissed);
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
        }
        if (!lastSaved) {
            return;
        }
        for (const auto& [id, saved] : lastSaved->channels) {
            const auto* channel = inbox.channel(id);
            ASSERT_NE(channel, nullptr) << id;
            const auto held = seqs(channel->notifications());
            const std::set<std::uint64_t> present(held.begin(), held.end());
            for (std::uint64_t seq = 1; seq <= saved.highest; ++seq) {
                ASSERT_TRUE(present.contains(seq)) << "update " << seq << " of " << id;
            }
            EXPECT_GE(channel->notifications().size(), saved.count);
            EXPECT_GE(channel->lastReadSeq(), saved.readMark);
        }
        for (const auto& [id, seq] : dismissedSoFar) {
            const auto* channel = inbox.channel(id);
            ASSERT_NE(channel, nullptr);
            EXPECT_TRUE(channel->isDismissed(seq)) << "dismissal " << seq;
        }
        EXPECT_TRUE(preferences.boolValue("groupActivityUpdates").has_value());
        for (const char* name : {"config.json", "inbox.json", "preferences.json"}) {
            if (std::filesystem::exists(directory / name)) {
                EXPECT_EQ(modeOf(directory / name), 0600u) << name;
            }
        }
    }

    TemporaryDirectory directory;
    LiveService service;
    OrvelProtocol::DeviceCredentials device;
    OrvelProtocol::Engagement engagement;
    OrvelKit::AppConfig expectedConfig;

    std::thread publisher;
    std::atomic<bool> stopPublishing{false};
    std::atomic<std::uint64_t> published{0};

    std::optional<SavedLine> lastSaved;
    std::set<std::pair<std::string, std::uint64_t>> dismissedSoFar;
    int savesSeen = 0;
    std::string allOutput;
};

TEST_F(CrashSafety, KillsAtRandomMomentsLoseNothingThatWasSaved) {
    std::mt19937 random(20261206);
    startPublishing();
    int survived = 0;
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
        ++survived;
        allOutput += driver.output();
        checkFilesAfterKill(driver);
        if (HasFatalFailure()) {
            return;
        }
    }
    stopPublisher();
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
            return saved && saved->channels.contains(engagement.channel) &&
                   saved->channels.at(engagement.channel).highest == total;
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
    RecordProperty("kills_survived", survived);
    RecordProperty("completed_saves", savesSeen);
    RecordProperty("faults_injected", std::to_string(service.faults().injected()));
    std::cout << "crash safety: " << survived << " kills survived, " << savesSeen
              << " completed saves, " << total << " updates, " << refusedOrNot.size()
              << " dismissals of which " << pending
              << " the service had refused, all at the service after the last restart\n";
}

} // namespace
} // namespace OrvelTest
