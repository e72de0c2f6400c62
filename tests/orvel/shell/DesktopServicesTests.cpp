// The desktop services without a desktop: notification messages and the executor
// on the Qt event loop.

#include "orvel/shell/FreedesktopNotifierBackend.h"
#include "orvel/shell/QtExecutor.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QTest>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(FreedesktopNotifierBackend, MessageCombinesSubtitleAndBodyAndMarksCriticalUpdates) {
    Orvel::NotificationRequest request{"u-1", "Deploy <done>", "agent",
                                       "**All** & [green](https://ci.example/1)",
                                       Orvel::NotificationSound::standard};
    auto message = Orvel::FreedesktopNotifierBackend::message(request);
    EXPECT_EQ(message.summary, "Deploy <done>");
    EXPECT_EQ(message.body, "agent\nAll & green") << "Markdown arrives as plain text";
    EXPECT_EQ(Orvel::FreedesktopNotifierBackend::message(request, true).body,
              "agent\nAll &amp; green");
    EXPECT_EQ(message.urgency, 1);
    EXPECT_TRUE(message.actions.isEmpty());
    request.opensPanel = true;
    EXPECT_EQ(Orvel::FreedesktopNotifierBackend::message(request).actions.value(0), "default");

    request.body.reset();
    request.sound = Orvel::NotificationSound::critical;
    message = Orvel::FreedesktopNotifierBackend::message(request);
    EXPECT_EQ(message.body, "agent");
    EXPECT_EQ(message.urgency, 2);
    EXPECT_EQ(message.hints.value("urgency").toInt(), 2);
}

TEST(FreedesktopNotifierBackend, WithoutABusNothingIsShownOrGranted) {
    const auto bus = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                   QStringLiteral("orvel-test-no-bus"));
    Orvel::FreedesktopNotifierBackend backend(bus);
    std::optional<bool> granted;
    backend.requestAuthorization([&](bool answer) { granted = answer; });
    EXPECT_EQ(granted, false);
    backend.add({"u-1", "t", "s", std::nullopt, Orvel::NotificationSound::standard});
    QDBusConnection::disconnectFromBus(QStringLiteral("orvel-test-no-bus"));
}

TEST(QtExecutor, RunsPostedWorkAndTimersOnTheEventLoopInOrder) {
    Orvel::QtExecutor executor;
    std::vector<std::string> order;
    executor.post([&] { order.push_back("posted"); });
    auto late = executor.schedule(40ms, [&] { order.push_back("late"); });
    auto early = executor.schedule(10ms, [&] { order.push_back("early"); });
    auto cancelled = executor.schedule(20ms, [&] { order.push_back("cancelled"); });
    cancelled.cancel();
    int ticks = 0;
    auto repeating = executor.scheduleRepeating(5ms, [&] { return ++ticks < 3; });
    // Timers fire in due order: once one due well after the last tick has
    // fired, the repeating timer has had every chance to tick again.
    bool after = false;
    auto sentinel = executor.schedule(70ms, [&] { after = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return after; }, 5000)) << "the timers never fired";
    EXPECT_EQ(order, (std::vector<std::string>{"posted", "early", "late"}));
    EXPECT_EQ(ticks, 3) << "a repeating timer stops when its callback says so";
    EXPECT_FALSE(repeating.active());
}

TEST(QtExecutor, WorkFromAnotherThreadRunsOnTheExecutorsAndWorkLeftBehindIsDropped) {
    Orvel::QtExecutor executor;
    std::thread::id ranOn;
    std::thread poster([&] { executor.post([&] { ranOn = std::this_thread::get_id(); }); });
    poster.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ranOn != std::thread::id(); }, 5000));
    EXPECT_EQ(ranOn, std::this_thread::get_id());

    bool ran = false;
    {
        Orvel::QtExecutor gone;
        gone.post([&] { ran = true; });
        auto timer = gone.schedule(1ms, [&] { ran = true; });
    }
    // Posted work runs in order: once later work has run, the dropped would have.
    bool later = false;
    auto timer = executor.schedule(5ms, [&] { executor.post([&] { later = true; }); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return later; }, 5000));
    EXPECT_FALSE(ran);
}

} // namespace
