#pragma once

// Owns the tray item and the inbox panel. The icon shows the brand ring with
// the attention badge (red when something critical waits) and pulses for up
// to 25 seconds after a sync that brought new updates; its tooltip is the
// accessibility text. Activating it toggles the panel; its menu opens the
// panel or the activity window, or quits.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/core/Preferences.h"
#include "orvel/core/UpdaterController.h"
#include "orvel/shell/ExpandedActivityWindowController.h"
#include "orvel/shell/InboxPanel.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/Theme.h"
#include "orvelkit/async/Executor.h"
#endif

#include <QImage>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace Orvel {

struct MenuBarControllerServices {
    AppModel& model;
    UpdaterController& updater;
    ExpandedActivityWindowController& expandedActivity;
    ModelBridge& bridge;
    Theme& theme;
    // Where the panel size is kept.
    Preferences& preferences;
    // The heartbeat's timer and clock; the model's executor.
    OrvelKit::Executor& executor;
    // Whether the desktop asks for reduced motion now; null: it does not.
    std::function<bool()> reduceMotion;
    // XDG_CURRENT_DESKTOP: whose bar the icon sits on (see TrayBar).
    std::string currentDesktop;
};

class MenuBarController final : public QObject {
    Q_OBJECT
public:
    explicit MenuBarController(MenuBarControllerServices services, QObject* parent = nullptr);
    // Stops the heartbeat and hides the tray item.
    ~MenuBarController() override;

    // Shows the tray item.
    void show();

    void togglePanel();
    void showPanel();
    void hidePanel();

    // ---- What the tray item shows ------------------------------------
    const OrvelKit::MenuBarIndicator& indicator() const { return indicator_; }
    QString toolTip() const;
    // The heartbeat frame on show; nothing while the resting icon shows.
    std::optional<int> shownFrame() const { return shownFrame_; }
    bool heartbeatRunning() const { return heartbeatTimer_.active(); }
    // The icon as last drawn.
    const QImage& iconImage() const { return iconImage_; }
    bool openActivityVisible() const;

    // The panel is built when first needed, so the tray item can show
    // before the panel's views are made; preparePanel() builds it ahead.
    InboxPanel& panel();
    void preparePanel() { (void)panel(); }
    QSystemTrayIcon& trayIcon() { return *trayIcon_; }

    // Applies the model's state now (normally one executor turn after each
    // change).
    void updateStatusItem();
    void updateExpandedActivity();

private:
    void scheduleUpdate();
    void positionPanel();
    void startHeartbeat();
    void stopHeartbeat();
    void advanceHeartbeat();
    bool reduceMotion() const { return services_.reduceMotion && services_.reduceMotion(); }
    void redrawIcon();
    void dismissPanel();

    MenuBarControllerServices services_;
    std::unique_ptr<InboxPanel> panel_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    QAction* openActivityAction_ = nullptr;

    QImage restingGlyph_;
    std::vector<QImage> heartbeatFrames_;
    QImage iconImage_;
    OrvelKit::MenuBarIndicator indicator_;
    std::optional<int> shownFrame_;
    OrvelKit::Timer heartbeatTimer_;
    std::optional<OrvelKit::Executor::TimePoint> heartbeatStartedAt_;
    std::int64_t lastNewNotificationSequence_ = 0;
    std::int64_t lastExpandedActivityRequestSequence_ = 0;
    bool updateScheduled_ = false;
    // The indicator reads the briefing of the whole inbox: it is computed
    // again only after a field it depends on changed.
    bool indicatorStale_ = true;
    Subscription modelSubscription_;
    // Lets posted work find out that the controller is gone.
    std::shared_ptr<MenuBarController*> self_;
};

} // namespace Orvel
