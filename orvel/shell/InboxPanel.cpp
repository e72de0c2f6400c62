#include "orvel/shell/InboxPanel.h"

#include "orvel/core/PopoverWindowSizing.h"
#include "orvel/shell/SymbolImageProvider.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQmlEngine>
#include <QSurfaceFormat>
#include <QtQml/qqmlextensionplugin.h>

// The views' QML module, linked in statically.
Q_IMPORT_QML_PLUGIN(OrvelPlugin)

namespace Orvel {

InboxPanel::InboxPanel(ModelBridge& bridge, Theme& theme, Preferences& preferences)
    : bridge_(bridge), preferences_(preferences), inboxScreen_(bridge.model(), bridge.executor()),
      updates_(std::make_unique<UpdatesListModel>(bridge.model(), bridge.executor(),
                                                  UpdatesListModel::threadPoolRunner())),
      detail_(std::make_unique<DetailScreenModel>(bridge.model(), bridge.executor())),
      card_(std::make_unique<PersistentCardScreenModel>(bridge.model(), bridge.executor())),
      channels_(std::make_unique<ChannelsScreenModel>(bridge.model(), bridge.executor())),
      engage_(std::make_unique<EngageScreenModel>(bridge.model(), bridge.executor(), clipboard_)),
      pair_(std::make_unique<PairScreenModel>(bridge.model(), bridge.executor())),
      settings_(std::make_unique<SettingsScreenModel>(bridge.model(), bridge.executor(),
                                                      bridge.updater(), clipboard_)) {
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    auto surface = format();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
    setColor(Qt::transparent);
    setTitle(QStringLiteral("Orvel"));
    setResizeMode(QQuickView::SizeRootObjectToView);
    const auto minimum = PopoverWindowSizing::minimumSize;
    setMinimumSize(QSize(static_cast<int>(minimum.width), static_cast<int>(minimum.height)));
    const auto size = PopoverWindowSizing::restoredSize(preferences_);
    resize(static_cast<int>(size.width), static_cast<int>(size.height));

    engine()->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    engine()->addImportPath(QStringLiteral("qrc:/qt/qml"));
    Theme::provideTo(*engine(), theme);
    setInitialProperties({{QStringLiteral("bridge"), QVariant::fromValue(&bridge)},
                          {QStringLiteral("inboxScreen"), QVariant::fromValue(&inboxScreen_)},
                          {QStringLiteral("updates"), QVariant::fromValue(updates_.get())},
                          {QStringLiteral("detail"), QVariant::fromValue(detail_.get())},
                          {QStringLiteral("card"), QVariant::fromValue(card_.get())},
                          {QStringLiteral("channels"), QVariant::fromValue(channels_.get())},
                          {QStringLiteral("engage"), QVariant::fromValue(engage_.get())},
                          {QStringLiteral("pair"), QVariant::fromValue(pair_.get())},
                          {QStringLiteral("settings"), QVariant::fromValue(settings_.get())}});
    setSource(QUrl(QStringLiteral("qrc:/qt/qml/Orvel/qml/RootView.qml")));

    // The panel starts hidden, and the tray app spends most of its time so:
    // the screens then follow the model without recomputing anything.
    setScreensActive(false);
    bridge.setRootViewShown(false);
    // Showing the panel is what opening the app means here: the briefing
    // session and the sync start once per opening, not again when focus
    // arrives. The screens catch up before the first frame.
    visibility_ = connect(this, &QWindow::visibleChanged, this, [this](bool visible) {
        if (visible) {
            bridge_.rootViewAppeared();
            setScreensActive(true);
        } else {
            setScreensActive(false);
            bridge_.rootViewDisappeared();
        }
    });

    resizeSettled_.setSingleShot(true);
    resizeSettled_.setInterval(resizeSettleMilliseconds);
    connect(&resizeSettled_, &QTimer::timeout, this, [this] { saveSize(); });
    restoring_ = false;
}

InboxPanel::~InboxPanel() {
    // The window is hidden only after the view models are gone: the bridge is
    // told here instead.
    disconnect(visibility_);
    if (isVisible()) {
        bridge_.rootViewDisappeared();
    }
    // The views go before the view models they show.
    setSource({});
}

void InboxPanel::saveSize() {
    PopoverWindowSizing::saveSize(
        preferences_, WindowSize{static_cast<double>(width()), static_cast<double>(height())});
}

bool InboxPanel::focusStaysWithin() const {
    if (isActive()) {
        return true;
    }
    for (auto* window : QGuiApplication::topLevelWindows()) {
        if (window != this && window->isVisible() && window->transientParent() == this) {
            return true;
        }
    }
    return false;
}

void InboxPanel::setScreensActive(bool active) {
    inboxScreen_.setActive(active);
    updates_->setActive(active);
    detail_->setActive(active);
    card_->setActive(active);
    channels_->setActive(active);
    settings_->setActive(active);
}

void InboxPanel::dismiss() {
    if (onDismiss) {
        onDismiss();
    }
}

void InboxPanel::keyPressEvent(QKeyEvent* event) {
    // The views first: an open menu closes on Escape and keeps the panel. A
    // key no item takes (or no item has focus) comes back ignored.
    event->ignore();
    QQuickView::keyPressEvent(event);
    if (event->isAccepted() || event->key() != Qt::Key_Escape) {
        return;
    }
    event->accept();
    // Escape goes back on a pushed screen and closes the panel on the inbox.
    if (bridge_.canGoBack()) {
        bridge_.back();
    } else {
        dismiss();
    }
}

void InboxPanel::resizeEvent(QResizeEvent* event) {
    QQuickView::resizeEvent(event);
    // Only sizes the user chose are remembered, once the drag has settled.
    if (!restoring_ && isVisible()) {
        resizeSettled_.start();
    }
}

Qt::Edges InboxPanel::edgesAt(QPointF position) const {
    Qt::Edges edges;
    if (position.x() < resizeGrip) {
        edges |= Qt::LeftEdge;
    } else if (position.x() >= width() - resizeGrip) {
        edges |= Qt::RightEdge;
    }
    if (position.y() < resizeGrip) {
        edges |= Qt::TopEdge;
    } else if (position.y() >= height() - resizeGrip) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

void InboxPanel::mousePressEvent(QMouseEvent* event) {
    // The window has no frame: its edges and corners are the resize grips.
    const auto edges = edgesAt(event->position());
    if (event->button() == Qt::LeftButton && edges && startSystemResize(edges)) {
        event->accept();
        return;
    }
    QQuickView::mousePressEvent(event);
}

void InboxPanel::mouseMoveEvent(QMouseEvent* event) {
    const auto edges = edgesAt(event->position());
    if (event->buttons() == Qt::NoButton && (edges || resizeCursorShown_)) {
        const bool diagonal =
            (edges & (Qt::LeftEdge | Qt::RightEdge)) && (edges & (Qt::TopEdge | Qt::BottomEdge));
        if (!edges) {
            unsetCursor();
        } else if (diagonal) {
            const bool falling =
                edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
            setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        } else {
            setCursor(edges & (Qt::LeftEdge | Qt::RightEdge) ? Qt::SizeHorCursor
                                                             : Qt::SizeVerCursor);
        }
        resizeCursorShown_ = static_cast<bool>(edges);
    }
    QQuickView::mouseMoveEvent(event);
}

bool InboxPanel::event(QEvent* event) {
    const auto handled = QQuickView::event(event);
    if (event->type() == QEvent::FocusOut && isVisible()) {
        // Decide one turn later, when focus has landed: a menu or dialog of
        // the panel's own keeps it open, anything else closes it.
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !focusStaysWithin()) {
                dismiss();
            }
        });
    }
    return handled;
}

} // namespace Orvel
