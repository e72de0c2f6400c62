#pragma once

// The panel that drops from the tray icon: a frameless, translucent tool
// window above other windows, hosting the root view. It hides itself (through
// `onDismiss`) on Escape and when it loses focus to another application. Its
// edges and corners resize it (the window manager does the drag), and it
// remembers its size when the user stops resizing it.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/Preferences.h"
#include "orvel/shell/ChannelsScreenModel.h"
#include "orvel/shell/DetailScreenModel.h"
#include "orvel/shell/EngageScreenModel.h"
#include "orvel/shell/InboxScreenModel.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/PairScreenModel.h"
#include "orvel/shell/PersistentCardScreenModel.h"
#include "orvel/shell/SettingsScreenModel.h"
#include "orvel/shell/Theme.h"
#include "orvel/shell/UpdatesListModel.h"
#endif

#include "orvel/shell/Clipboard.h"

#include <QQuickView>
#include <QTimer>
#include <functional>
#include <memory>

namespace Orvel {

class InboxPanel final : public QQuickView {
    Q_OBJECT
public:
    static constexpr int cornerRadius = 14;
    // A resize counts as finished after this long without another.
    static constexpr int resizeSettleMilliseconds = 400;
    // How close to an edge a press starts resizing the frameless window.
    static constexpr int resizeGrip = 6;

    // Opens at the size stored in `preferences` (see PopoverWindowSizing).
    // The bridge, the theme and the preferences must outlive the panel. The
    // root view gets the bridge as its `bridge` and the screens' view models,
    // built here over the bridge's model; the QML singleton `Theme` is
    // `theme`.
    InboxPanel(ModelBridge& bridge, Theme& theme, Preferences& preferences);
    ~InboxPanel() override;

    // Called when the panel should go away.
    std::function<void()> onDismiss;

    // Stores the current size for the next start.
    void saveSize();

    // Whether focus went to a window of the panel's own (a menu or dialog it
    // opened), so losing it must not close the panel.
    bool focusStaysWithin() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void dismiss();
    // Hidden, the screens' view models recompute nothing; shown, they catch up.
    void setScreensActive(bool active);
    // The window edges within reach of `position` (none away from them).
    Qt::Edges edgesAt(QPointF position) const;

    ModelBridge& bridge_;
    Preferences& preferences_;
    // The screens' view models, alive as long as the views.
    InboxScreenModel inboxScreen_;
    std::unique_ptr<UpdatesListModel> updates_;
    std::unique_ptr<DetailScreenModel> detail_;
    std::unique_ptr<PersistentCardScreenModel> card_;
    // What the screens copy belongs to the application, not to this window.
    Clipboard clipboard_;
    std::unique_ptr<ChannelsScreenModel> channels_;
    std::unique_ptr<EngageScreenModel> engage_;
    std::unique_ptr<PairScreenModel> pair_;
    std::unique_ptr<SettingsScreenModel> settings_;
    bool resizeCursorShown_ = false;
    QTimer resizeSettled_;
    bool restoring_ = true;
    QMetaObject::Connection visibility_;
};

} // namespace Orvel
