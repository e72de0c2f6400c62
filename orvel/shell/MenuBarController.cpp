#include "orvel/shell/MenuBarController.h"

#include "orvel/shell/MenuBarHeartbeat.h"
#include "orvel/shell/MenuBarIcon.h"
#include "orvel/shell/PanelPlacement.h"
#include "orvel/shell/TrayBar.h"
#include "orvelkit/presentation/MenuBarIndicator.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <chrono>

namespace Orvel {

MenuBarController::MenuBarController(MenuBarControllerServices services, QObject* parent)
    : QObject(parent), services_(std::move(services)),
      self_(std::make_shared<MenuBarController*>(this)) {
    restingGlyph_ = MenuBarIcon::resting();
    heartbeatFrames_.reserve(MenuBarHeartbeat::frameCount);
    for (int i = 0; i < MenuBarHeartbeat::frameCount; ++i) {
        heartbeatFrames_.push_back(MenuBarIcon::heartbeatFrame(i));
    }

    auto& model = services_.model;
    lastNewNotificationSequence_ = model.newNotificationSequence();
    lastExpandedActivityRequestSequence_ = model.expandedActivityRequestSequence();

    menu_ = std::make_unique<QMenu>();
    connect(menu_->addAction(QStringLiteral("Open Orvel")), &QAction::triggered, this,
            [this] { showPanel(); });
    openActivityAction_ = menu_->addAction(QStringLiteral("Open Activity"));
    connect(openActivityAction_, &QAction::triggered, this, [this] {
        if (services_.model.expandedActivityEnabled()) {
            services_.model.requestExpandedActivity();
        }
    });
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("Quit Orvel")), &QAction::triggered, qApp,
            &QCoreApplication::quit, Qt::QueuedConnection);

    trayIcon_ = std::make_unique<QSystemTrayIcon>();
    trayIcon_->setContextMenu(menu_.get());
    connect(trayIcon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    togglePanel();
                }
            });
    connect(&services_.theme, &Theme::changed, this, [this] { redrawIcon(); });

    updateStatusItem();
    openActivityAction_->setVisible(model.expandedActivityEnabled());
    modelSubscription_ = model.observe([this](ModelField field) {
        if (field == ModelField::inbox || field == ModelField::now ||
            field == ModelField::useDevelopmentData) {
            indicatorStale_ = true;
        }
        scheduleUpdate();
    });
}

MenuBarController::~MenuBarController() {
    modelSubscription_.reset();
    heartbeatTimer_.cancel();
    if (trayIcon_) {
        trayIcon_->hide();
    }
}

void MenuBarController::show() {
    trayIcon_->show();
}

QString MenuBarController::toolTip() const {
    return trayIcon_->toolTip();
}

bool MenuBarController::openActivityVisible() const {
    return openActivityAction_->isVisible();
}

void MenuBarController::scheduleUpdate() {
    // One update per executor turn, however many fields changed in it.
    if (updateScheduled_) {
        return;
    }
    updateScheduled_ = true;
    services_.executor.post([weak = std::weak_ptr<MenuBarController*>(self_)] {
        if (auto self = weak.lock()) {
            (*self)->updateScheduled_ = false;
            (*self)->updateStatusItem();
            (*self)->updateExpandedActivity();
        }
    });
}

void MenuBarController::updateStatusItem() {
    auto& model = services_.model;
    if (indicatorStale_) {
        indicatorStale_ = false;
        auto indicator = OrvelKit::Presentation::menuBarIndicator(model.sourceInbox(), model.now(),
                                                                  model.calendar());
        if (indicator != indicator_ || iconImage_.isNull()) {
            indicator_ = std::move(indicator);
            trayIcon_->setToolTip(QString::fromStdString(
                OrvelKit::Presentation::statusItemAccessibilityLabel(indicator_)));
            redrawIcon();
        }
    }
    if (model.newNotificationSequence() != lastNewNotificationSequence_) {
        lastNewNotificationSequence_ = model.newNotificationSequence();
        startHeartbeat();
    }
}

void MenuBarController::updateExpandedActivity() {
    auto& model = services_.model;
    openActivityAction_->setVisible(model.expandedActivityEnabled());
    if (!model.expandedActivityEnabled()) {
        services_.expandedActivity.close();
        return;
    }
    if (model.expandedActivityRequestSequence() != lastExpandedActivityRequestSequence_) {
        lastExpandedActivityRequestSequence_ = model.expandedActivityRequestSequence();
        hidePanel();
        services_.expandedActivity.open();
    }
}

void MenuBarController::redrawIcon() {
    const auto& glyph =
        shownFrame_ ? heartbeatFrames_[static_cast<std::size_t>(*shownFrame_)] : restingGlyph_;
    const auto foreground = TrayBar::isDark(services_.currentDesktop, services_.theme.appearance())
                                ? MenuBarIcon::onDarkBar
                                : MenuBarIcon::onLightBar;
    iconImage_ = MenuBarIcon::compose(glyph, indicator_, foreground, services_.theme.red());
    trayIcon_->setIcon(QIcon(QPixmap::fromImage(iconImage_)));
}

// ---- Heartbeat ---------------------------------------------------------------

void MenuBarController::startHeartbeat() {
    if (reduceMotion()) {
        stopHeartbeat();
        return;
    }
    heartbeatStartedAt_ = services_.executor.now();
    shownFrame_ = 0;
    redrawIcon();
    if (!heartbeatTimer_.active()) {
        const auto interval = std::chrono::duration_cast<OrvelKit::Executor::Duration>(
            std::chrono::duration<double>(MenuBarHeartbeat::frameInterval));
        heartbeatTimer_ = services_.executor.scheduleRepeating(interval, [this] {
            advanceHeartbeat();
            return heartbeatTimer_.active();
        });
    }
}

void MenuBarController::advanceHeartbeat() {
    if (reduceMotion() || !heartbeatStartedAt_) {
        stopHeartbeat();
        return;
    }
    const auto elapsed =
        std::chrono::duration<double>(services_.executor.now() - *heartbeatStartedAt_).count();
    const auto frame = MenuBarHeartbeat::frameIndex(elapsed);
    if (!frame) {
        stopHeartbeat();
        return;
    }
    if (frame != shownFrame_) {
        shownFrame_ = frame;
        redrawIcon();
    }
}

void MenuBarController::stopHeartbeat() {
    heartbeatTimer_.cancel();
    heartbeatStartedAt_.reset();
    if (shownFrame_) {
        shownFrame_.reset();
        redrawIcon();
    }
}

// ---- Panel -------------------------------------------------------------------

InboxPanel& MenuBarController::panel() {
    if (!panel_) {
        panel_ =
            std::make_unique<InboxPanel>(services_.bridge, services_.theme, services_.preferences);
        panel_->onDismiss = [weak = std::weak_ptr<MenuBarController*>(self_)] {
            if (auto self = weak.lock()) {
                (*self)->hidePanel();
            }
        };
    }
    return *panel_;
}

void MenuBarController::togglePanel() {
    if (panel_ && panel_->isVisible()) {
        hidePanel();
    } else {
        showPanel();
    }
}

void MenuBarController::showPanel() {
    auto& shown = panel();
    positionPanel();
    shown.show();
    shown.raise();
    shown.requestActivate();
}

void MenuBarController::hidePanel() {
    if (!panel_ || !panel_->isVisible()) {
        return;
    }
    panel_->hide();
}

void MenuBarController::positionPanel() {
    const auto iconRect = trayIcon_->geometry();
    std::optional<ScreenRect> icon;
    QScreen* screen = nullptr;
    if (iconRect.isValid() && !iconRect.isEmpty()) {
        icon = ScreenRect{static_cast<double>(iconRect.x()), static_cast<double>(iconRect.y()),
                          static_cast<double>(iconRect.width()),
                          static_cast<double>(iconRect.height())};
        screen = QGuiApplication::screenAt(iconRect.center());
    }
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const auto area = screen ? screen->availableGeometry() : QRect();
    const auto origin = PanelPlacement::origin(
        icon,
        ScreenRect{static_cast<double>(area.x()), static_cast<double>(area.y()),
                   static_cast<double>(area.width()), static_cast<double>(area.height())},
        panel_->width(), panel_->height());
    panel_->setPosition(static_cast<int>(origin.x), static_cast<int>(origin.y));
}

} // namespace Orvel
