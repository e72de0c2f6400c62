#include "orvelkit/store/FileInboxStore.h"
#include "tests/support/RecordGenerator.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace OrvelKit {
namespace {

using OrvelTest::namesIn;

Inbox generatedInbox(std::uint64_t seed, std::size_t notifications, std::size_t channels) {
    OrvelTest::RecordGenerator generator(seed);
    Inbox inbox;
    inbox.applySync(generator.syncResponse(notifications, channels).channels);
    return inbox;
}

// A process killed at any moment of a save leaves the old or the new inbox,
// never a partial or empty file; either loads back equal to what was saved.
TEST(FileInboxStore, SurvivesBeingKilledWhileSaving) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "inbox.json";
    const Inbox inboxes[2] = {generatedInbox(5, 600, 2), generatedInbox(6, 400, 3)};
    const auto started = std::chrono::steady_clock::now();
    FileInboxStore(file).save(inboxes[0]);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);

    std::mt19937 random(7);
    // Kill points spread over the first few saves of the child.
    std::uniform_int_distribution<std::int64_t> delay(0, 3 * saveTime.count() + 1000);
    int changes = 0;
    bool previous = false;
    for (int round = 0; round < 15; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileInboxStore store(file);
            for (unsigned i = 0; i < 100000; ++i) {
                store.save(inboxes[(i + static_cast<unsigned>(round)) % 2]);
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child finished before it was killed";

        bool rejected = false;
        FileInboxStore store(file, [&](const StoreDiagnostic&) { rejected = true; });
        const Inbox loaded = store.load().value();
        ASSERT_FALSE(rejected) << "round " << round;
        ASSERT_TRUE(loaded == inboxes[0] || loaded == inboxes[1]) << "round " << round;
        changes += (loaded == inboxes[1]) != previous;
        previous = loaded == inboxes[1];
        // Loading cleared any temporary the kill left behind.
        EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"inbox.json"});
    }
    EXPECT_GT(changes, 0) << "no kill came after a completed save; the test proved nothing";
}

} // namespace
} // namespace OrvelKit
