// The update feed: reading it, comparing versions, and checking it: newer,
// same or older versions, failures, and checking switched off without an
// address.

#include "orvel/shell/FeedUpdateFramework.h"
#include "orvel/shell/UpdateFeed.h"
#include "orvelkit/async/ManualExecutor.h"
#include "tests/support/FakeTransport.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using OrvelKit::HTTPResponse;

struct FeedHarness {
    OrvelKit::ManualExecutor executor;
    std::shared_ptr<OrvelTest::FakeTransport> server = std::make_shared<OrvelTest::FakeTransport>();
    Orvel::FeedUpdateFramework framework{"https://updates.example/orvel.json", "0.2.0", server,
                                         executor};
    std::optional<Orvel::UpdateFeedEntry> found;
    std::optional<std::optional<std::string>> none;

    FeedHarness() {
        framework.onUpdateFound = [this](const Orvel::UpdateFeedEntry& entry) { found = entry; };
        framework.onNoUpdate = [this](std::optional<std::string> error) { none = error; };
    }

    void check(OrvelKit::TransportResult answer) {
        server->respond(std::move(answer));
        found.reset();
        none.reset();
        framework.checkForUpdates();
        EXPECT_FALSE(framework.canCheckForUpdates()) << "one check at a time";
        executor.runUntilIdle();
        EXPECT_TRUE(framework.canCheckForUpdates());
    }
};

TEST(FeedUpdateFramework, ANewerVersionIsReportedAndOthersAreNot) {
    FeedHarness h;
    h.check(HTTPResponse{200, R"({"version":"0.3.0","url":"https://r.example/0.3.0"})"});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.found->url, "https://r.example/0.3.0");
    EXPECT_EQ(h.framework.latest(), h.found);
    ASSERT_EQ(h.server->requests().size(), 1u);
    EXPECT_EQ(h.server->requests()[0].url, "https://updates.example/orvel.json");

    h.check(HTTPResponse{200, R"({"version":"0.2.0","url":"https://r.example/0.2.0"})"});
    EXPECT_FALSE(h.found);
    ASSERT_TRUE(h.none);
    EXPECT_FALSE(*h.none) << "nothing newer is no error";
}

TEST(FeedUpdateFramework, FailuresEndTheCheckWithTheirText) {
    FeedHarness h;
    h.check(HTTPResponse{503, ""});
    EXPECT_EQ(h.none, std::optional<std::string>("http(status: 503)"));
    h.check(OrvelKit::unexpected(OrvelKit::TransportError{7, "Couldn't connect to server"}));
    EXPECT_EQ(h.none, std::optional<std::string>("Couldn't connect to server"));
    h.check(HTTPResponse{200, "not json"});
    EXPECT_TRUE(h.none && *h.none) << "a feed that cannot be read is a failure";
}

TEST(FeedUpdateFramework, AutomaticChecksRunAtOnceAndDailyAndNeedAnAddress) {
    FeedHarness h;
    h.framework.setAutomaticallyDownloadsUpdates(true);
    h.executor.runUntilIdle();
    EXPECT_EQ(h.server->requests().size(), 1u);
    h.executor.advance(std::chrono::hours(24));
    h.executor.runUntilIdle();
    EXPECT_EQ(h.server->requests().size(), 2u);
    h.framework.setAutomaticallyDownloadsUpdates(false);
    h.executor.advance(std::chrono::hours(48));
    EXPECT_EQ(h.server->requests().size(), 2u);

    Orvel::FeedUpdateFramework off("", "0.2.0", h.server, h.executor);
    EXPECT_FALSE(off.canCheckForUpdates());
    off.checkForUpdates();
    off.setAutomaticallyDownloadsUpdates(true);
    h.executor.runUntilIdle();
    EXPECT_EQ(h.server->requests().size(), 2u);
    EXPECT_TRUE(off.automaticallyDownloadsUpdates());
}

TEST(FeedUpdateFramework, AnAnswerAfterTheFrameworkIsGoneIsDropped) {
    OrvelKit::ManualExecutor executor;
    auto server = std::make_shared<OrvelTest::FakeTransport>();
    server->respond(HTTPResponse{200, R"({"version":"1.0","url":"https://r.example"})"});
    bool reported = false;
    {
        Orvel::FeedUpdateFramework framework("https://u.example/f.json", "0.1", server, executor);
        framework.onUpdateFound = [&](const Orvel::UpdateFeedEntry&) { reported = true; };
        framework.checkForUpdates();
    }
    executor.runUntilIdle();
    EXPECT_FALSE(reported);
}

TEST(UpdateFeed, ParsesAFeedRefusesOtherDocumentsAndComparesVersionsNumerically) {
    const auto entry =
        Orvel::UpdateFeed::parse(R"({"version":"0.3.0","url":"https://example.org/r/0.3.0"})");
    ASSERT_TRUE(entry) << entry.error();
    EXPECT_EQ(entry->version, "0.3.0");
    EXPECT_FALSE(entry->notes);
    for (const char* refused :
         {R"({"version":"0.3.0"})", "not json", R"({"version":"soon","url":"https://example.org"})",
          R"({"version":"1.0","url":"file:///tmp/x"})"}) {
        EXPECT_FALSE(Orvel::UpdateFeed::parse(refused)) << refused;
    }

    EXPECT_TRUE(Orvel::UpdateFeed::isNewer("0.1.10", "0.1.9"));
    EXPECT_TRUE(Orvel::UpdateFeed::isNewer("v1.0", "0.9.9"));
    const std::pair<const char*, const char*> notNewer[] = {
        {"1.0.0", "1.0"}, {"0.0.9", "0.1.0"}, {"1.0-beta", "0.1"}, {"9999999999.0", "0.1"}};
    for (const auto& [candidate, current] : notNewer) {
        EXPECT_FALSE(Orvel::UpdateFeed::isNewer(candidate, current))
            << candidate << " vs " << current;
    }
}

} // namespace
