#include "orvelkit/store/FileInboxStore.h"
#include "tests/orvelkit/store/TemporaryDirectory.h"
#include "tests/support/RecordGenerator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace OrvelKit {
namespace {

using OrvelTest::modeOf;
using OrvelTest::namesIn;
using OrvelTest::readText;
using OrvelTest::writeText;

Inbox generatedInbox(std::uint64_t seed, std::size_t notifications, std::size_t channels) {
    OrvelTest::RecordGenerator generator(seed);
    Inbox inbox;
    inbox.applySync(generator.syncResponse(notifications, channels).channels);
    return inbox;
}

struct FormatCase {
    const char* name;
    const char* json;
    std::optional<Inbox> expected; // nothing: the file is rejected
};

const char* const note = R"({"channel":"c","created_at":"t","id":"n1","seq":3,"title":"T",)"
                         R"("urgency":"normal"})";

const FormatCase formatCases[] = {
    {"onlyChannel", R"({"channels":[{"channel":"c"},{"channel":"d","extra":[{}]}]})",
     Inbox({ChannelInbox("c", std::nullopt, false, {}, {}, 0, 0, 0, {}),
            ChannelInbox("d", std::nullopt, false, {}, {}, 0, 0, 0, {})})},
    {"noChannels", R"({"channels":[]})", Inbox()},
    {"byteOrderMark", "\xEF\xBB\xBF{\"channels\":[]}", Inbox()},
    {"repeatedChannelKeepsTheFirst",
     R"({"channels":[{"channel":"c","owned":true,"dismissedSeqs":[4,2,4]},{"channel":"c"}]})",
     Inbox({ChannelInbox("c", std::nullopt, true, {}, {}, 0, 0, 0, {2, 4})})},
    {"nullsTakeTheirDefaults", R"({"channels":[{"channel":"c","name":null,"owned":null,
        "lastReadSeq":null}]})",
     Inbox({ChannelInbox("c", std::nullopt, false, {}, {}, 0, 0, 0, {})})},
    {"channelsMissing", R"({"inbox":[]})", std::nullopt},
    {"channelIdMissing", R"({"channels":[{"name":"x"}]})", std::nullopt},
    {"ownedNotABoolean", R"({"channels":[{"channel":"c","owned":"yes"}]})", std::nullopt},
    {"negativeSeq", R"({"channels":[{"channel":"c","dismissedSeqs":[-1]}]})", std::nullopt},
    {"notificationWithoutTitle",
     R"({"channels":[{"channel":"c","notifications":[{"channel":"c","created_at":"t","id":"n",
        "seq":1,"urgency":"low"}]}]})",
     std::nullopt},
    {"truncated", R"({"channels":[{"channel":"c","notifications":[)", std::nullopt},
};

class InboxFileFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(InboxFileFormat, LoadsOrFallsBackToAnEmptyInboxKeepingTheFile) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "inbox.json";
    writeText(file, GetParam().json);
    std::vector<StoreDiagnostic> diagnostics;
    FileInboxStore store(file, [&](const StoreDiagnostic& d) { diagnostics.push_back(d); });

    const Inbox loaded = store.load().value();
    if (GetParam().expected) {
        EXPECT_EQ(loaded, *GetParam().expected);
        EXPECT_TRUE(diagnostics.empty());
        return;
    }
    EXPECT_EQ(loaded, Inbox());
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics[0].event, StoreDiagnostic::Event::decodeFailed);
    EXPECT_EQ(diagnostics[1].event, StoreDiagnostic::Event::preserved);
    EXPECT_EQ(readText(diagnostics[1].file), GetParam().json);
    EXPECT_EQ(namesIn(directory.path()),
              std::vector<std::string>{diagnostics[1].file.filename().string()});
}

INSTANTIATE_TEST_SUITE_P(Cases, InboxFileFormat, testing::ValuesIn(formatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileInboxStore, AFileThatCannotBeReadIsAnErrorAndIsNeverWrittenOver) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "inbox.json";
    std::filesystem::create_directory(file);
    FileInboxStore store(file);
    ASSERT_FALSE(store.load());
    EXPECT_EQ(store.load().error().code, std::errc::is_a_directory);
    store.save(generatedInbox(1, 10, 1));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"inbox.json"});
}

TEST(FileInboxStore, WritesTheDocumentedFormat) {
    OrvelTest::TemporaryDirectory directory;
    FileInboxStore store(directory / "sub/inbox.json");
    auto notification = OrvelProtocol::decode<OrvelProtocol::Notification>(note);
    ASSERT_TRUE(notification);
    store.save(Inbox({ChannelInbox("c", "Builds", true, {*notification}, {}, 1, 2, 0, {9, 3})}));
    EXPECT_EQ(readText(store.file()),
              std::string(R"({"channels":[{"channel":"c","name":"Builds","owned":true,)"
                          R"("notifications":[)") +
                  *OrvelProtocol::encode(*notification) +
                  R"(],"cardUpdates":[],"lastReadSeq":1,"latestSeq":3,"latestCardSeq":0,)"
                  R"("dismissedSeqs":[3,9]}]})");
    EXPECT_EQ(modeOf(directory / "sub"), 0700u);
    EXPECT_EQ(modeOf(store.file()), 0600u);
}

TEST(FileInboxStore, SavedInboxesLoadBackEqual) {
    OrvelTest::TemporaryDirectory directory;
    FileInboxStore store(directory / "inbox.json");
    EXPECT_EQ(store.load().value(), Inbox());
    for (std::uint64_t seed : {1, 2, 3}) {
        Inbox inbox = generatedInbox(seed, 400, seed);
        inbox.markAllRead();
        inbox.dismiss(inbox.channels().front().channel(), 17);
        store.save(inbox);
        EXPECT_EQ(store.load().value(), inbox) << "seed " << seed;
    }
    store.save(Inbox());
    EXPECT_EQ(store.load().value(), Inbox());
}

// A process killed at any moment of a save leaves the old or the new inbox,
// never a partial or empty file.
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
