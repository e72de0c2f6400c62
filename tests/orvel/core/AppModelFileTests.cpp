// The app's own files: one that cannot be read is never written over nor
// replaced by a new device, and what the stores report reaches the banner.

#include "orvel/core/AppStores.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace {

using namespace OrvelTest;
using OrvelProtocol::SyncResponse;

TEST(AppModelFiles, AFileThatCannotBeReadHoldsBackSavesAndSyncsUntilItCanBeRead) {
    // Each file unreadable, with the inbox read at construction or in the background.
    for (int row = 0; row < 4; ++row) {
        const bool inboxUnreadable = row % 2 == 1;
        const bool background = row >= 2;
        SCOPED_TRACE(testing::Message() << inboxUnreadable << background);
        ModelHarness h;
        h.loadInboxInBackground = background;
        h.paired();
        OrvelKit::Inbox stored;
        stored.applySync({channelSync("a", {notification("a", 1, "need")}, {1})});
        h.inboxStore->save(stored);
        const int configSaves = h.configStore->saves;
        const int inboxSaves = h.inboxStore->saves;
        const std::filesystem::path file = inboxUnreadable ? "/d/inbox.json" : "/d/config.json";
        auto& unreadable = inboxUnreadable ? h.inboxStore->unreadable : h.configStore->unreadable;
        unreadable = OrvelKit::FileError{"open", file, std::make_error_code(std::errc::io_error)};
        h.service->answer("sync", SyncResponse{{channelSync("a", {notification("a", 2, "need")})}});
        auto& model = h.build();
        ASSERT_TRUE(h.executor.runUntil([&] { return !model.inboxLoading(); }));
        const std::string text = "Couldn't read " + file.string() +
                                 " (Input/output error). Nothing is saved over it until it "
                                 "can be read.";
        EXPECT_EQ(model.lastError(), text);

        model.start();
        h.executor.advance(std::chrono::seconds(20));
        h.run(model.createEngagement());
        model.markAllRead();
        model.flushSaves();
        EXPECT_TRUE(h.service->requests().empty()) << "no device registered in its place";
        EXPECT_EQ(h.configStore->saves, configSaves);
        EXPECT_EQ(h.inboxStore->saves, inboxSaves + (inboxUnreadable ? 0 : 1))
            << "only a file that was read is saved";
        EXPECT_EQ(model.lastError(), text);

        unreadable.reset();
        h.executor.advance(std::chrono::seconds(20));
        h.executor.runUntilIdle();
        EXPECT_TRUE(h.service->requestsTo("pair/bootstrap").empty());
        ASSERT_EQ(h.service->requestsTo("sync").size(), 1u);
        EXPECT_TRUE(h.savedInbox().channel("a")->isDismissed(1)) << "the file's marks are kept";
        EXPECT_EQ(h.savedInbox().channel("a")->notifications().size(), 2u);
        EXPECT_FALSE(model.lastError());
    }
}

TEST(AppModelFiles, AnInboxStillBeingReadIsNeitherSyncedNorSavedAndKeepsWhatWasDoneMeanwhile) {
    ModelHarness h;
    h.loadInboxInBackground = true;
    h.paired({"a"});
    OrvelKit::Inbox stored;
    stored.applySync(
        {channelSync("a", {notification("a", 1, "need"), notification("a", 2, "need")})});
    h.inboxStore->save(stored);
    h.syncAnswers({channelSync("a", {notification("a", 3, "need")})});
    std::promise<void> read;
    h.inboxStore->held = read.get_future().share();
    auto& model = h.build();
    model.start();
    h.executor.advance(std::chrono::seconds(20));
    model.dismiss("a-1");
    model.markAllRead();
    model.flushSaves();
    EXPECT_TRUE(h.service->requests().empty());
    EXPECT_EQ(h.inboxStore->saves, 1) << "an empty inbox saved over the file";

    read.set_value();
    ASSERT_TRUE(h.executor.runUntil([&] { return !model.inboxLoading(); }));
    h.executor.runUntilIdle();
    const auto channel = *h.savedInbox().channel("a");
    EXPECT_TRUE(channel.isDismissed(1) && !channel.isDismissed(2));
    EXPECT_EQ(channel.notifications().size(), 3u);
    EXPECT_FALSE(h.service->requestsTo("dismiss").empty());

    // A model gone before its inbox arrives lets what waited for it go.
    std::promise<void> again;
    h.inboxStore->held = again.get_future().share();
    h.build().start();
    h.executor.runUntilIdle();
    again.set_value();
    h.model.reset();
    h.executor.runUntilIdle();
}

TEST(AppModelFiles, TheDesktopShowsWhatItsStoresReportInTheBanner) {
    TemporaryDirectory directory;
    writeText(directory / "file", "");
    ModelHarness h;
    auto build = [&](const OrvelKit::AppSupportDirectory& data) {
        auto stores = Orvel::AppStores::open(data, h.executor);
        stores.attach(h.build({}, stores.config, stores.inbox, stores.preferences));
        h.executor.runUntilIdle();
        return stores;
    };

    // A data directory that cannot be created: nothing would be kept.
    auto stores = build(OrvelKit::AppSupportDirectory(directory / "file" / "orvel"));
    EXPECT_EQ(h.model->lastError(), "Couldn't prepare the data directory " +
                                        (directory / "file" / "orvel").string() +
                                        " (Not a directory). Nothing is kept after Orvel quits.");

    // A damaged inbox is moved aside; the banner names where it went, and
    // keeps doing so after a successful sync.
    std::filesystem::create_directories(directory / "orvel");
    writeText(directory / "orvel" / "inbox.json", "{\"channels\":");
    stores = build(OrvelKit::AppSupportDirectory(directory / "orvel"));
    h.run(h.model->refresh());
    ASSERT_TRUE(h.model->lastError());
    const auto names = namesIn(directory / "orvel");
    const auto kept = std::find_if(names.begin(), names.end(), [](const std::string& name) {
        return name.starts_with("inbox.json.unreadable-");
    });
    ASSERT_NE(kept, names.end());
    EXPECT_NE(h.model->lastError()->find((directory / "orvel" / *kept).string()),
              std::string::npos);
}

} // namespace
