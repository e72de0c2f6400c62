#include "orvel/core/Notifier.h"
#include "orvelkit/async/ManualExecutor.h"
#include "tests/orvel/core/RecordingNotifierBackend.h"

#include <gtest/gtest.h>

#include <thread>

namespace Orvel {
namespace {

using OrvelProtocol::Notification;
using OrvelProtocol::Urgency;
using OrvelTest::RecordingNotifierBackend;

const OrvelKit::Date tenOClock = OrvelKit::Date::fromSecondsSinceEpoch(1796551200); // 10:00Z

Notification note(std::string id, std::optional<std::string> sender = "Build bot",
                  std::optional<std::string> body = "All green",
                  Urgency urgency = Urgency::normal) {
    Notification n;
    n.id = std::move(id);
    n.channel = "ci";
    n.createdAt = "2026-12-06T09:59:00Z";
    n.title = "Build finished";
    n.sender = std::move(sender);
    n.body = std::move(body);
    n.urgency = urgency;
    n.seq = 1;
    return n;
}

struct NotifierFixture : testing::Test {
    std::shared_ptr<RecordingNotifierBackend> backend =
        std::make_shared<RecordingNotifierBackend>();
    OrvelKit::ManualExecutor executor;
    OrvelKit::Calendar calendar{"UTC", "en_US"};
};

TEST(NotifierRequest, BuildsContentFromTheUpdate) {
    const NotificationRequest request = Notifier::request(note("u1"));
    EXPECT_EQ(request, (NotificationRequest{"u1", "Build finished", "Build bot", "All green",
                                            NotificationSound::standard}));
}

TEST(NotifierRequest, FallsBackToTheChannelWithoutASender) {
    EXPECT_EQ(Notifier::request(note("u1", std::nullopt)).subtitle, "ci");
    EXPECT_EQ(Notifier::request(note("u1", "")).subtitle, "ci");
}

TEST(NotifierRequest, LeavesOutAnEmptyOrMissingBody) {
    EXPECT_EQ(Notifier::request(note("u1", "Bot", "")).body, std::nullopt);
    EXPECT_EQ(Notifier::request(note("u1", "Bot", std::nullopt)).body, std::nullopt);
}

TEST(NotifierRequest, OnlyCriticalUpdatesUseTheCriticalSound) {
    EXPECT_EQ(Notifier::request(note("u", "b", "x", Urgency::critical)).sound,
              NotificationSound::critical);
    for (Urgency urgency : {Urgency::low, Urgency::normal, Urgency::high}) {
        EXPECT_EQ(Notifier::request(note("u", "b", "x", urgency)).sound,
                  NotificationSound::standard);
    }
}

TEST(NotifierRequest, TheSummarySaysNeedYouOnlyOfUpdatesThatDo) {
    struct Case {
        SyncSummary summary;
        std::string title;
        std::optional<std::string> body;
    };
    const std::vector<Case> cases{
        {{1, 1, false}, "1 update needs you", std::nullopt},
        {{12, 12, true}, "12 more updates need you", std::nullopt},
        {{5, 2, false}, "5 new updates", "2 of them need you"},
        {{2, 1, true}, "2 more new updates", "1 of them needs you"},
        {{1, 0, true}, "1 more new update", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto request = Notifier::summaryRequest(c.summary);
        EXPECT_EQ(request.title, c.title);
        EXPECT_EQ(request.body, c.body) << c.title;
    }
}

TEST_F(NotifierFixture, PostsOnceReadyAndAuthorized) {
    Notifier notifier(backend, executor, calendar);
    notifier.post(note("before-prepare"), tenOClock);
    notifier.prepare();
    EXPECT_TRUE(notifier.ready());
    // The answer applies on the executor, not inside the backend's callback.
    EXPECT_FALSE(notifier.authorized());
    notifier.post(note("before-answer-applied"), tenOClock);
    executor.runUntilIdle();
    EXPECT_TRUE(notifier.authorized());
    notifier.post(note("u1"), tenOClock);
    notifier.post(note("u1"), tenOClock);

    const auto added = backend->added();
    ASSERT_EQ(added.size(), 2u); // the same id twice gives two requests
    EXPECT_EQ(added[0].identifier, "u1");
    EXPECT_EQ(added[1].identifier, "u1");
    EXPECT_EQ(backend->authorizationRequests(), 1);
}

TEST_F(NotifierFixture, WithoutABackendStaysSilent) {
    Notifier notifier(nullptr, executor, calendar);
    notifier.prepare();
    executor.runUntilIdle();
    EXPECT_FALSE(notifier.ready());
    EXPECT_FALSE(notifier.authorized());
    notifier.post(note("u1"), tenOClock); // must not touch a backend
}

TEST_F(NotifierFixture, PostsNothingWhenPermissionIsRefused) {
    backend =
        std::make_shared<RecordingNotifierBackend>(RecordingNotifierBackend::Answer::denyAtOnce);
    Notifier notifier(backend, executor, calendar);
    notifier.prepare();
    executor.runUntilIdle();
    EXPECT_TRUE(notifier.ready());
    EXPECT_FALSE(notifier.authorized());
    notifier.post(note("u1"), tenOClock);
    EXPECT_TRUE(backend->added().empty());
}

TEST_F(NotifierFixture, PostsNothingUntilTheUserAnswers) {
    backend = std::make_shared<RecordingNotifierBackend>(
        RecordingNotifierBackend::Answer::holdUntilAnswered);
    Notifier notifier(backend, executor, calendar);
    notifier.prepare();
    executor.runUntilIdle();
    notifier.post(note("early"), tenOClock);
    EXPECT_TRUE(backend->added().empty());

    // The answer comes from another thread and is applied on the executor.
    std::thread desktop([&] { backend->answer(true); });
    desktop.join();
    EXPECT_FALSE(notifier.authorized());
    executor.runUntilIdle();
    EXPECT_TRUE(notifier.authorized());
    notifier.post(note("late"), tenOClock);
    ASSERT_EQ(backend->added().size(), 1u);
    EXPECT_EQ(backend->added()[0].identifier, "late");
}

TEST_F(NotifierFixture, AnAnswerAfterTheNotifierIsGoneIsDropped) {
    backend = std::make_shared<RecordingNotifierBackend>(
        RecordingNotifierBackend::Answer::holdUntilAnswered);
    {
        Notifier notifier(backend, executor, calendar);
        notifier.prepare();
    }
    EXPECT_EQ(backend->answer(true), 1u);
    EXPECT_EQ(executor.runUntilIdle(), 1u); // runs and finds nothing to update
}

TEST_F(NotifierFixture, DoesNotPostAnUpdateThatSurfacesLater) {
    Notifier notifier(backend, executor, calendar);
    notifier.prepare();
    executor.runUntilIdle();

    Notification scheduled = note("later");
    scheduled.deliverWhen = "2026-12-06T10:01:00Z"; // a minute after now
    notifier.post(scheduled, tenOClock);
    EXPECT_TRUE(backend->added().empty());

    Notification due = note("due");
    due.deliverWhen = "2026-12-06T10:00:00Z";
    notifier.post(due, tenOClock);
    ASSERT_EQ(backend->added().size(), 1u);
    EXPECT_EQ(backend->added()[0].identifier, "due");
}

} // namespace
} // namespace Orvel
