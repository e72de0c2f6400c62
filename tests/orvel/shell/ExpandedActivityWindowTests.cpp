// The expanded activity window: a normal top-level window that tells the
// updater while it shows, and keeps its frame across closing and starting.

#include "orvel/shell/ExpandedActivityModel.h"
#include "tests/orvel/shell/ControllerStack.h"
#include "tests/orvel/shell/QtPrinters.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QQuickView>
#include <QScreen>

namespace {

using namespace OrvelTest;
using Orvel::ExpandedActivityWindowController;

TEST(ExpandedActivityWindow, ClosingHidesTheActivitySurfaceAndReopeningShowsIt) {
    ControllerStack h;
    h.make();
    auto& window = *h.expanded;
    window.open();
    ASSERT_NE(window.window(), nullptr);
    auto& view = *window.window();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.title(), "Orvel Activity");
    EXPECT_EQ(view.flags() & Qt::WindowType_Mask, Qt::Window) << "in the task switcher";
    EXPECT_FALSE(view.flags() & Qt::FramelessWindowHint);
    EXPECT_EQ(view.minimumSize(), QSize(780, 520));
    EXPECT_TRUE(h.updater->visibleInterfaces().contains("activity"));
    EXPECT_TRUE(window.viewModel().active());

    // As the window manager's close button does.
    view.close();
    EXPECT_FALSE(window.isOpen());
    EXPECT_FALSE(h.updater->visibleInterfaces().contains("activity"));
    EXPECT_FALSE(window.viewModel().active()) << "a hidden window computes nothing";

    window.open();
    EXPECT_EQ(window.window(), &view) << "the window is made once";
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(h.updater->visibleInterfaces().contains("activity"));
}

TEST(ExpandedActivityWindow, OpensCentredFirstAndWhereItWasLeftAfterwards) {
    ControllerStack h;
    h.make();
    h.expanded->open();
    auto* view = h.expanded->window();
    ASSERT_NE(view->screen(), nullptr);
    EXPECT_EQ(view->size(), QSize(1060, 720));
    EXPECT_LE((view->geometry().center() - view->screen()->availableGeometry().center())
                  .manhattanLength(),
              2);

    const QRect moved(40, 30, 900, 600);
    view->setGeometry(moved);
    h.expanded->close();
    h.expanded.reset();
    h.expanded = std::make_unique<ExpandedActivityWindowController>(
        *h.model, *h.updater, h.executor, h.theme, *h.preferences);
    h.expanded->open();
    EXPECT_EQ(h.expanded->window()->geometry(), moved);

    // A kept frame below the minimum size is not restored.
    ExpandedActivityWindowController::saveFrame(*h.preferences, QRect(0, 0, 300, 200));
    EXPECT_EQ(ExpandedActivityWindowController::savedFrame(*h.preferences), std::nullopt);
}

} // namespace
