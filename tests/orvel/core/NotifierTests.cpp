// What the notifier asks the desktop to show, and when it shows nothing.

#include "orvel/core/Notifier.h"
#include "orvelkit/async/ManualExecutor.h"
#include "tests/support/RecordingNotifierBackend.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <thread>

namespace Orvel {
namespace {

using OrvelProtocol::Urgency;
using OrvelTest::RecordingNotifierBackend;

const OrvelKit::Date tenOClock = OrvelKit::Date::fromSecondsSinceEpoch(1796551200); // 10:00Z

OrvelProtocol::Notification note(std::string id) {
    auto n = OrvelTest::notification("ci", 1);
    n.id = std::move(id);
    n.title = "Build finished";
    n.sender = "Build bot";
    n.body = "All green";
    return n;
}

TEST(NotifierRequest, BuildsContentFromTheUpdate) {
    using Sound = NotificationSound;
    struct Case {
        std::optional<std::string> sender, body;
        Urgency urgency;
        std::string subtitle;
        std::optional<std::string> shownBody;
        Sound sound;
    };
    const Case cases[] = {
        // The channel stands in for a missing or empty sender; an empty body
        // is left out; only critical updates use the critical sound.
        {std::nullopt, "x", Urgency::normal, "ci", "x", Sound::standard},
        {"Bot", "", Urgency::high, "Bot", std::nullopt, Sound::standard},
        {"Bot", "x", Urgency::critical, "Bot", "x", Sound::critical},
    };
    for (const Case& c : cases) {
        auto update = note("u");
        update.sender = c.sender;
        update.body = c.body;
        update.urgency = c.urgency;
        EXPECT_EQ(Notifier::request(update),
                  (NotificationRequest{"u", "Build finished", c.subtitle, c.shownBody, c.sound}))
            << testing::PrintToString(update.sender);
    }
}

struct NotifierFixture : testing::Test {
    std::shared_ptr<RecordingNotifierBackend> backend =
        std::make_shared<RecordingNotifierBackend>();
    OrvelKit::ManualExecutor executor;
    OrvelKit::Calendar calendar{"UTC", "en_US"};
};

// When every summarised update needs you, the first-sync table of AppModelSync
// pins the title.
TEST(NotifierRequest, TheSummarySaysNeedYouOnlyOfUpdatesThatDo) {
    const auto request = Notifier::summaryRequest({5, 2, false});
    EXPECT_EQ(request.title, "5 new updates");
    EXPECT_EQ(request.body, "2 of them need you");
}

TEST_F(NotifierFixture, PostsOnlyOnceTheUsersAnswerIsApplied) {
    backend = std::make_shared<RecordingNotifierBackend>(RecordingNotifierBackend::Answer::hold);
    Notifier notifier(backend, executor, calendar);
    notifier.post(note("before-prepare"), tenOClock);
    notifier.prepare();
    EXPECT_TRUE(notifier.ready());
    executor.runUntilIdle();
    notifier.post(note("early"), tenOClock);

    // The answer comes from another thread and is applied on the executor.
    std::thread desktop([&] { backend->answer(true); });
    desktop.join();
    EXPECT_FALSE(notifier.authorized());
    notifier.post(note("before-answer-applied"), tenOClock);
    executor.runUntilIdle();
    EXPECT_TRUE(notifier.authorized());
    notifier.post(note("u1"), tenOClock);
    notifier.post(note("u1"), tenOClock); // the same id twice gives two requests
    ASSERT_EQ(backend->shown.size(), 2u);
    EXPECT_EQ(backend->shown[1].identifier, "u1");
    EXPECT_EQ(backend->authorizationRequests, 1);
}

// Without a backend at all is how every live-model test runs.
TEST_F(NotifierFixture, StaysSilentWithoutPermission) {
    backend = std::make_shared<RecordingNotifierBackend>(RecordingNotifierBackend::Answer::refuse);
    Notifier refused(backend, executor, calendar);
    refused.prepare();
    executor.runUntilIdle();
    refused.post(note("u1"), tenOClock);
    EXPECT_TRUE(backend->shown.empty());
}

TEST_F(NotifierFixture, AnAnswerAfterTheNotifierIsGoneIsDropped) {
    backend = std::make_shared<RecordingNotifierBackend>(RecordingNotifierBackend::Answer::hold);
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
    auto later = note("later");
    later.deliverWhen = "2026-12-06T10:01:00Z"; // a minute after now
    notifier.post(later, tenOClock);
    auto due = note("due");
    due.deliverWhen = "2026-12-06T10:00:00Z";
    notifier.post(due, tenOClock);
    ASSERT_EQ(backend->shown.size(), 1u);
    EXPECT_EQ(backend->shown[0].identifier, "due");
}

} // namespace
} // namespace Orvel
