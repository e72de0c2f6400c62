// The tray item: badge, tooltip and icon per indicator, the heartbeat, the
// panel and the expanded activity requests.

#include "orvel/core/PopoverWindowSizing.h"
#include "tests/orvel/shell/ControllerStack.h"
#include "tests/orvel/shell/QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QQuickItem>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

using namespace OrvelTest;
using namespace std::chrono_literals;

// An update that needs the user, from its own agent (one source each).
OrvelProtocol::Notification need(std::uint64_t seq, bool critical = false) {
    auto note = notification("a", seq, "need");
    note.sender = "agent-" + std::to_string(seq);
    if (critical) {
        note.urgency = OrvelProtocol::Urgency::critical;
    }
    return note;
}

// Runs what the event loop has queued so far: the panel decides about a lost
// focus one turn later.
void settle() {
    bool done = false;
    QTimer::singleShot(0, [&] { done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000)) << "the event loop is stuck";
}

TEST(MenuBarController, BadgeTooltipAndIconFollowTheIndicator) {
    ControllerStack h;
    auto& tray = h.make();
    EXPECT_EQ(tray.trayIcon().toolTip(), "Orvel, nothing needs attention");
    EXPECT_FALSE(tray.indicator().attentionBadge);
    const auto quiet = tray.iconImage();
    ASSERT_FALSE(quiet.isNull());

    h.sync({need(1), need(2), need(3)});
    EXPECT_EQ(tray.indicator().attentionBadge, "3");
    EXPECT_EQ(tray.trayIcon().toolTip(), "Orvel, 3 items need attention");
    EXPECT_NE(tray.iconImage(), quiet) << "the badge is drawn into the icon";

    h.sync({need(4, true)});
    EXPECT_EQ(tray.trayIcon().toolTip(), "Orvel, 4 items need attention, including critical");
    // The ring turns red: sample its top, where no badge is drawn.
    const auto& icon = tray.iconImage();
    const auto ring = icon.pixelColor(icon.width() / 2, icon.height() * 3 / 18);
    EXPECT_GT(ring.alpha(), 0);
    EXPECT_GT(ring.red(), ring.green() + 60) << ring.name().toStdString();

    // A hundred items: "99+".
    std::vector<OrvelProtocol::Notification> more;
    for (std::uint64_t seq = 5; seq <= 100; ++seq) {
        more.push_back(need(seq));
    }
    h.sync(more);
    EXPECT_EQ(tray.indicator().attentionBadge, "99+");
}

TEST(MenuBarController, HeartbeatRunsTwentyFiveSecondsAfterNewUpdates) {
    ControllerStack h;
    auto& tray = h.make();
    EXPECT_FALSE(tray.heartbeatRunning());
    EXPECT_FALSE(tray.shownFrame());

    h.sync({need(1)});
    ASSERT_TRUE(tray.heartbeatRunning());
    EXPECT_EQ(tray.shownFrame(), 0);
    // 36 frames a beat of 2.4 s: half a second in, frame 6 or 7 shows;
    // at 3.0 s, 0.6 s into the second beat, frame 8 or 9.
    h.executor.advance(500ms);
    ASSERT_TRUE(tray.shownFrame());
    EXPECT_TRUE(*tray.shownFrame() == 6 || *tray.shownFrame() == 7) << *tray.shownFrame();
    h.executor.advance(2500ms);
    EXPECT_TRUE(*tray.shownFrame() == 8 || *tray.shownFrame() == 9) << *tray.shownFrame();

    // Another sync with news restarts the clock without a second timer.
    h.executor.advance(20s);
    h.sync({need(2)});
    EXPECT_EQ(tray.shownFrame(), 0);
    h.executor.advance(24900ms);
    EXPECT_TRUE(tray.heartbeatRunning());
    h.executor.advance(200ms);
    EXPECT_FALSE(tray.heartbeatRunning());
    EXPECT_FALSE(tray.shownFrame()) << "the resting icon is back";

    // Going away mid-beat: the timer must not fire into a destroyed controller.
    h.sync({need(3)});
    ASSERT_TRUE(tray.heartbeatRunning());
    h.controller.reset();
    h.executor.advance(1s);
}

TEST(MenuBarController, NoHeartbeatUnderReducedMotionOrForOlderNews) {
    ControllerStack reduced;
    reduced.reduceMotion = true;
    auto& still = reduced.make();
    reduced.sync({need(1)});
    EXPECT_FALSE(still.heartbeatRunning());
    EXPECT_FALSE(still.shownFrame());

    // A controller made after a sync brought news does not pulse for it.
    ControllerStack h;
    h.build();
    h.service->answer("sync", OrvelProtocol::SyncResponse{{channelSync("a", {need(1)})}});
    h.run(h.model->refresh());
    ASSERT_GT(h.model->newNotificationSequence(), 0);
    h.model.reset();
    auto& tray = h.make();
    h.executor.runUntilIdle();
    EXPECT_FALSE(tray.heartbeatRunning());
}

TEST(MenuBarController, ExpandedActivityOpensOnRequestAndClosesWhenDisabled) {
    ControllerStack h;
    auto& tray = h.make();
    EXPECT_FALSE(tray.openActivityVisible());
    h.model->setExpandedActivityEnabled(true);
    h.executor.runUntilIdle();
    EXPECT_TRUE(tray.openActivityVisible());
    EXPECT_FALSE(h.expanded->isOpen()) << "enabling alone opens nothing";

    tray.showPanel();
    h.executor.runUntilIdle();
    ASSERT_TRUE(tray.panel().isVisible());
    h.model->requestExpandedActivity();
    h.executor.runUntilIdle();
    EXPECT_TRUE(h.expanded->isOpen());
    EXPECT_FALSE(tray.panel().isVisible());
    EXPECT_TRUE(h.updater->visibleInterfaces().contains("activity"));

    h.model->setExpandedActivityEnabled(false);
    h.executor.runUntilIdle();
    EXPECT_FALSE(h.expanded->isOpen());
    EXPECT_FALSE(tray.openActivityVisible());
    EXPECT_EQ(h.expanded->openCount(), 1);
}

TEST(MenuBarController, ThePanelTogglesAtTheTopRightAndTellsTheUpdater) {
    ControllerStack h;
    auto& tray = h.make();
    // A click on the item; its menu opening does nothing to the panel.
    emit tray.trayIcon().activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(tray.panel().isVisible());
    emit tray.trayIcon().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(tray.panel().isVisible());
    EXPECT_TRUE(h.updater->visibleInterfaces().contains("popover"));
    EXPECT_TRUE(h.preferences->dateValue("lastInboxOpenedAt"))
        << "opening begins a briefing session";
    h.executor.runUntilIdle();
    EXPECT_EQ(h.service->requestsTo("sync").size(), 1u) << "opening syncs";
    // Without the icon's geometry: the top right of the screen's free area.
    ASSERT_NE(tray.panel().screen(), nullptr);
    const auto area = tray.panel().screen()->availableGeometry();
    EXPECT_EQ(tray.panel().position(),
              QPoint(area.right() + 1 - tray.panel().width() - 8, area.top() + 8));

    tray.togglePanel();
    EXPECT_FALSE(tray.panel().isVisible());
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("popover"));

    // Escape goes back from a pushed screen, and hides the panel on the inbox.
    tray.showPanel();
    h.model->open(Orvel::AppScreen::updates());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&tray.panel(), &escape);
    EXPECT_TRUE(tray.panel().isVisible());
    EXPECT_TRUE(h.model->path().empty());
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&tray.panel(), &again);
    EXPECT_FALSE(tray.panel().isVisible());
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("popover"));
}

TEST(MenuBarController, EscapeInTheChannelSearchGoesBack) {
    ControllerStack h;
    auto& tray = h.make();
    tray.showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tray.panel()));
    h.model->open(Orvel::AppScreen::channels());
    QTRY_VERIFY(tray.panel().activeFocusItem() &&
                tray.panel().activeFocusItem()->objectName() == "channelSearch");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&tray.panel(), &escape);
    EXPECT_TRUE(h.model->path().empty());
    EXPECT_TRUE(tray.panel().isVisible());
}

TEST(MenuBarController, ThePanelHidesWhenAnotherWindowTakesFocusButNotForItsOwn) {
    ControllerStack h;
    auto& tray = h.make();
    tray.showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tray.panel()));
    h.executor.runUntilIdle();
    EXPECT_EQ(h.service->requestsTo("sync").size(), 1u) << "focus arriving starts no second sync";

    // A window of the panel's own (a menu or dialog it opened) keeps it open.
    QWindow own;
    own.setTransientParent(&tray.panel());
    own.resize(100, 100);
    own.show();
    own.requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&own));
    settle();
    EXPECT_TRUE(tray.panel().isVisible());
    own.hide();
    tray.panel().requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tray.panel()));

    // Any other window closes it.
    QWindow other;
    other.resize(100, 100);
    other.show();
    other.requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tray.panel().isVisible(); }, 5000));
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("popover"));
}

TEST(InboxPanel, RestoresTheStoredSizeAndSavesTheNewOne) {
    ControllerStack h;
    Orvel::PopoverWindowSizing::saveSize(*h.preferences, Orvel::WindowSize{500, 700});
    auto& tray = h.make();
    EXPECT_EQ(tray.panel().size(), QSize(500, 700));
    EXPECT_EQ(tray.panel().minimumSize(), QSize(360, 420));

    tray.panel().resize(610, 720);
    tray.panel().saveSize();
    EXPECT_EQ(Orvel::PopoverWindowSizing::restoredSize(*h.preferences),
              (Orvel::WindowSize{610, 720}));
}

} // namespace
