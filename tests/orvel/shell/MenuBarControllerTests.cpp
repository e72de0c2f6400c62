// The tray item: badge and tooltip per indicator, the heartbeat, the panel
// and the expanded activity requests.

#include "orvel/core/PopoverWindowSizing.h"
#include "orvel/shell/MenuBarController.h"
#include "orvel/shell/MenuBarHeartbeat.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tests/orvel/shell/QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>

namespace {

using namespace OrvelTest;
using namespace std::chrono_literals;
using OrvelProtocol::SyncResponse;

struct TrayHarness : ModelHarness {
    std::unique_ptr<Orvel::UpdaterController> updater;
    std::unique_ptr<Orvel::ExpandedActivityWindowController> expanded;
    std::unique_ptr<Orvel::Theme> theme;
    std::unique_ptr<Orvel::ModelBridge> bridge;
    std::unique_ptr<Orvel::MenuBarController> controller;
    bool reduceMotion = false;

    TrayHarness() { paired(); }

    ~TrayHarness() {
        controller.reset();
        bridge.reset();
    }

    Orvel::MenuBarController& make() {
        build();
        updater = std::make_unique<Orvel::UpdaterController>(nullptr, nullptr, executor);
        expanded = std::make_unique<Orvel::ExpandedActivityWindowController>(*model, *updater);
        theme = std::make_unique<Orvel::Theme>();
        theme->setAppearance(Orvel::Appearance::light);
        bridge = std::make_unique<Orvel::ModelBridge>(*model, executor, updater.get());
        controller = std::make_unique<Orvel::MenuBarController>(Orvel::MenuBarControllerServices{
            *model, *updater, *expanded, *bridge, *theme, *preferences, executor,
            [this] { return reduceMotion; }});
        return *controller;
    }

    // One sync bringing `notes` on channel "a", then the tray's update.
    void sync(std::vector<OrvelProtocol::Notification> notes) {
        service->answer("sync", SyncResponse{{channelRecord("a", std::move(notes))}});
        run(model->refresh());
        executor.runUntilIdle();
    }
};

// An update that needs the user, from its own agent (one source each).
OrvelProtocol::Notification need(std::uint64_t seq) {
    auto note = update("a", seq, "need");
    note.sender = "agent-" + std::to_string(seq);
    return note;
}

OrvelProtocol::Notification critical(std::uint64_t seq) {
    auto note = need(seq);
    note.urgency = OrvelProtocol::Urgency::critical;
    return note;
}

TEST(MenuBarController, BadgeAndTooltipFollowTheIndicator) {
    TrayHarness h;
    auto& tray = h.make();
    EXPECT_EQ(tray.toolTip(), "Orvel, nothing needs attention");
    EXPECT_FALSE(tray.indicator().attentionBadge);
    const auto quiet = tray.iconImage();
    ASSERT_FALSE(quiet.isNull());

    h.sync({need(1), need(2), need(3)});
    EXPECT_EQ(tray.indicator().attentionBadge, "3");
    EXPECT_EQ(tray.indicator().emphasis, OrvelKit::MenuBarEmphasis::high);
    EXPECT_EQ(tray.toolTip(), "Orvel, 3 items need attention");
    const auto high = tray.iconImage();
    EXPECT_NE(high, quiet) << "the badge is drawn into the icon";

    h.sync({critical(4)});
    EXPECT_EQ(tray.indicator().attentionBadge, "4");
    EXPECT_EQ(tray.toolTip(), "Orvel, 4 items need attention, including critical");
    // The ring turns red: sample its top, where no badge is drawn.
    const auto ring = tray.iconImage().pixelColor(tray.iconImage().width() / 2,
                                                  tray.iconImage().height() * 3 / 18);
    EXPECT_GT(ring.alpha(), 0);
    EXPECT_GT(ring.red(), ring.green() + 60) << ring.name().toStdString();

    // Many items: "99+".
    std::vector<OrvelProtocol::Notification> many;
    for (std::uint64_t seq = 10; seq < 120; ++seq) {
        many.push_back(need(seq));
    }
    h.sync(many);
    EXPECT_EQ(tray.indicator().attentionBadge, "99+");
}

TEST(MenuBarController, HeartbeatRunsTwentyFiveSecondsAfterNewUpdates) {
    TrayHarness h;
    auto& tray = h.make();
    EXPECT_FALSE(tray.heartbeatRunning());
    EXPECT_FALSE(tray.shownFrame());

    h.sync({update("a", 1)});
    ASSERT_TRUE(tray.heartbeatRunning());
    EXPECT_EQ(tray.shownFrame(), 0);

    // 36 frames a beat of 2.4 s: half a second in, frame 6 or 7 shows.
    h.executor.advance(500ms);
    ASSERT_TRUE(tray.shownFrame());
    EXPECT_GE(*tray.shownFrame(), 6);
    EXPECT_LE(*tray.shownFrame(), 7);
    // 3.0 s: 0.6 s into the second beat.
    h.executor.advance(2500ms);
    EXPECT_GE(*tray.shownFrame(), 8);
    EXPECT_LE(*tray.shownFrame(), 9);

    // Another sync with news restarts the clock without a second timer.
    h.executor.advance(20s);
    h.sync({update("a", 2)});
    EXPECT_EQ(tray.shownFrame(), 0);
    h.executor.advance(10s);
    EXPECT_TRUE(tray.heartbeatRunning());

    h.executor.advance(15100ms);
    EXPECT_FALSE(tray.heartbeatRunning());
    EXPECT_FALSE(tray.shownFrame()) << "the resting icon is back";
}

TEST(MenuBarController, ReducedMotionKeepsTheRestingIcon) {
    TrayHarness h;
    h.reduceMotion = true;
    auto& tray = h.make();
    h.sync({update("a", 1)});
    EXPECT_FALSE(tray.heartbeatRunning());
    EXPECT_FALSE(tray.shownFrame());
}

TEST(MenuBarController, NothingPulsesForStateThatExistedBefore) {
    TrayHarness h;
    h.build();
    h.run(h.model->refresh());
    h.service->answer("sync", SyncResponse{{channelRecord("a", {update("a", 1)})}});
    h.run(h.model->refresh());
    ASSERT_GT(h.model->newNotificationSequence(), 0);
    // A controller made now does not pulse for that sequence.
    h.model.reset();
    auto& tray = h.make();
    h.executor.runUntilIdle();
    EXPECT_FALSE(tray.heartbeatRunning());
}

TEST(MenuBarController, GoingAwayStopsTheHeartbeat) {
    TrayHarness h;
    h.make();
    h.sync({update("a", 1)});
    ASSERT_TRUE(h.controller->heartbeatRunning());
    h.controller.reset();
    h.executor.advance(1s); // the timer must not fire into a destroyed controller
    SUCCEED();
}

TEST(MenuBarController, ExpandedActivityOpensOnRequestAndClosesWhenDisabled) {
    TrayHarness h;
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

TEST(MenuBarController, ThePanelTogglesAndTellsTheUpdater) {
    TrayHarness h;
    auto& tray = h.make();
    tray.togglePanel();
    EXPECT_TRUE(tray.panel().isVisible());
    EXPECT_TRUE(h.updater->visibleInterfaces().contains("popover"));
    EXPECT_TRUE(h.preferences->dateValue("lastInboxOpenedAt"))
        << "opening begins a briefing session";
    h.executor.runUntilIdle();
    EXPECT_EQ(h.service->requestsTo("sync").size(), 1u) << "opening syncs";

    tray.togglePanel();
    EXPECT_FALSE(tray.panel().isVisible());
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("popover"));

    // Escape hides it too.
    tray.showPanel();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&tray.panel(), &escape);
    EXPECT_FALSE(tray.panel().isVisible());
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("popover"));
}

TEST(MenuBarController, ThePanelHidesWhenAnotherWindowTakesFocusButNotForItsOwn) {
    TrayHarness h;
    auto& tray = h.make();
    tray.showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tray.panel()));

    // A window of the panel's own (a menu or dialog it opened) keeps it open.
    QWindow own;
    own.setTransientParent(&tray.panel());
    own.resize(100, 100);
    own.show();
    own.requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&own));
    QTest::qWait(20);
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
    QTest::qWait(20);
    EXPECT_FALSE(tray.panel().isVisible());
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("popover"));
}

TEST(MenuBarController, PanelPlacementWithoutTrayGeometryIsTopRight) {
    TrayHarness h;
    auto& tray = h.make();
    tray.showPanel();
    const auto* screen = tray.panel().screen();
    ASSERT_NE(screen, nullptr);
    const auto area = screen->availableGeometry();
    EXPECT_EQ(tray.panel().x(), area.right() + 1 - tray.panel().width() - 8);
    EXPECT_EQ(tray.panel().y(), area.top() + 8);
}

TEST(InboxPanel, RestoresTheStoredSizeAndSavesTheNewOne) {
    TrayHarness h;
    Orvel::PopoverWindowSizing::saveSize(*h.preferences, Orvel::WindowSize{500, 700});
    auto& tray = h.make();
    EXPECT_EQ(tray.panel().size(), QSize(500, 700));
    EXPECT_EQ(tray.panel().minimumSize(), QSize(360, 420));

    tray.panel().resize(610, 720);
    tray.panel().saveSize();
    EXPECT_EQ(Orvel::PopoverWindowSizing::restoredSize(*h.preferences),
              (Orvel::WindowSize{610, 720}));
    EXPECT_EQ(h.preferences->integerValue("popoverWindowSizeVersion"), 2);
    EXPECT_EQ(h.preferences->doubleValue("popoverWindowWidth"), 610.0);
}

TEST(InboxPanel, AnOlderSizeVersionOpensAtTheDefaultSize) {
    TrayHarness h;
    h.preferences->set("popoverWindowWidth", 500.0);
    h.preferences->set("popoverWindowHeight", 700.0);
    h.preferences->set("popoverWindowSizeVersion", std::int64_t{1});
    auto& tray = h.make();
    EXPECT_EQ(tray.panel().size(), QSize(420, 640));
}

} // namespace
