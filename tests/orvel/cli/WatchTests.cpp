// orvelctl watch: what it prints as updates arrive, that it stops cleanly
// with everything saved, and the executable under SIGINT and SIGTERM.

#include "orvelkit/store/FileInboxStore.h"
#include "tests/orvel/cli/CliHarness.h"
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace OrvelTest;
using Orvel::Cli::exitSuccess;

std::size_t updatesIn(const std::filesystem::path& inboxFile) {
    return OrvelKit::FileInboxStore(inboxFile).load().value().all().size();
}

class Watch : public ::testing::Test {
protected:
    void SetUp() override {
        h.startService();
        h.pairAsSeededDesktop();
    }

    // Runs watch until `done(out, err)` holds (or `limit` passes), then
    // stops the loop as SIGINT would.
    CliResult watchUntil(std::vector<std::string> arguments,
                         std::function<bool(const std::string&, const std::string&)> done,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const auto check = h.loop.scheduleRepeating(std::chrono::milliseconds(10), [&] {
            if (done(h.out.str(), h.err.str()) || std::chrono::steady_clock::now() > deadline) {
                h.loop.stop();
            }
        });
        arguments.insert(arguments.begin(), "watch");
        return h.cli(arguments);
    }
    static auto lines(std::size_t count) {
        return [count](const std::string& out, const std::string&) {
            return static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')) >= count;
        };
    }

    CliHarness h;
};

TEST_F(Watch, AllPrintsEveryUpdateAndCardAsItArrives) {
    const auto result = watchUntil({"--all"}, lines(7));
    EXPECT_EQ(result.status, exitSuccess) << result;
    EXPECT_EQ(result.out, R"(08:00:00  running  ci  Build #480 started
20:00:00  running  indexer  Reindexing the archive
09:00:00  done     ci  Build #480 passed
09:30:00  info     research  Overnight summary  (held until 08:00)
09:50:00  failed   ci  Build #481 failed
09:55:00  need     deploy  Approve the production deploy
09:40:00  card     deploy  Cloud spend: Today $44.95
)");
    // Nothing is printed twice: a second watch starts from what is stored.
    const auto again = watchUntil({"--all"}, lines(1), std::chrono::seconds(1));
    EXPECT_EQ(again.out, "");
}

TEST_F(Watch, RefreshFailuresAreToldOnceAndTheLoopGoesOn) {
    h.stopService();
    // The start line, then one line for the failure.
    const auto result = watchUntil({}, [](const std::string&, const std::string& err) {
        return err.find("orvelctl: ") != std::string::npos;
    });
    EXPECT_EQ(result.status, exitSuccess) << "a failing sync does not end the watch";
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result;
    EXPECT_NE(result.err.find("orvelctl: "), std::string::npos) << "no failure told within 10 s";
}

// The executable itself: a signal ends it normally, after the saves.
class WatchProcess : public ::testing::TestWithParam<int> {};

TEST_P(WatchProcess, AStopSignalEndsItCleanlyWithEverythingSaved) {
    CliHarness h;
    h.startService();
    h.pairAsSeededDesktop();
    ChildProcess watch({ORVELCTL_PATH, "--data-dir", h.dataDirectory.string(), "watch"},
                       {{"NO_COLOR", "1"}});
    ASSERT_TRUE(watch.started());
    // "Only interrupt for what matters" is on, and the channels are new here:
    // their backlog is counted, not told one by one.
    ASSERT_TRUE(
        watch.readUntil([](const std::string& line) { return line == "  1 update needs you"; },
                        std::chrono::seconds(20)))
        << watch.output();
    watch.signal(GetParam());
    EXPECT_EQ(watch.wait(), 0) << watch.output();
    EXPECT_EQ(updatesIn(h.dataDirectory / "inbox.json"), 6u);
    EXPECT_EQ(watch.output().find('\x1b'), std::string::npos) << "no colour with NO_COLOR";
}

INSTANTIATE_TEST_SUITE_P(Signals, WatchProcess, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) {
                             return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

} // namespace
