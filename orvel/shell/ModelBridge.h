#pragma once

// The views' window onto the app model. It re-publishes the model's change
// notifications as Qt signals, one per group of fields, exposes what the
// views show as properties computed from the model by the presentation
// functions, and forwards the views' actions to the model (asynchronous ones
// are spawned on the executor). The views compute no state of their own.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/core/UpdaterController.h"
#include "orvel/shell/MenuBarIndicatorValue.h"
#endif

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class ModelBridge final : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel gives its root view the bridge.")
    // Navigation.
    Q_PROPERTY(Screen currentScreen READ currentScreen NOTIFY navigationChanged)
    Q_PROPERTY(QString currentScreenName READ currentScreenName NOTIFY navigationChanged)
    Q_PROPERTY(QString currentId READ currentId NOTIFY navigationChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY navigationChanged)
    // The header of the current destination.
    Q_PROPERTY(bool headerShowsBack READ headerShowsBack NOTIFY headerChanged)
    Q_PROPERTY(QString headerTitle READ headerTitle NOTIFY headerChanged)
    Q_PROPERTY(bool headerShowsBrandMark READ headerShowsBrandMark NOTIFY headerChanged)
    Q_PROPERTY(bool headerBrandNeedsYou READ headerBrandNeedsYou NOTIFY headerChanged)
    // At most three buttons: {action, symbol, label, size} each.
    Q_PROPERTY(QVariantList headerTrailing READ headerTrailing NOTIFY headerChanged)
    // The tray's indicator. What the screens show comes from their own view
    // models (InboxScreenModel, ...).
    Q_PROPERTY(Orvel::MenuBarIndicatorValue indicator READ indicator NOTIFY presentationChanged)
    // Preferences.
    Q_PROPERTY(bool expandedActivityEnabled READ expandedActivityEnabled NOTIFY preferencesChanged)
    Q_PROPERTY(bool onlyInterrupt READ onlyInterrupt NOTIFY preferencesChanged)
    Q_PROPERTY(bool groupActivityUpdates READ groupActivityUpdates NOTIFY preferencesChanged)
    Q_PROPERTY(bool useDevelopmentData READ useDevelopmentData NOTIFY preferencesChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin NOTIFY preferencesChanged)
    Q_PROPERTY(int newNotificationSequence READ newNotificationSequence NOTIFY
                   newNotificationSequenceChanged)

public:
    // The destinations, in the order of AppScreen::Kind.
    enum Screen { Detail, Card, Inbox, Updates, Channels, Engage, Pair, Welcome, Settings };
    Q_ENUM(Screen)
    // The header's buttons, in the order of HeaderAction.
    enum HeaderAction { Back, MarkAllRead, NewChannel, OpenActivity, OpenSettings };
    Q_ENUM(HeaderAction)

    // `updater` may be null (no update framework in tests). The model, the
    // executor and the updater must outlive the bridge.
    ModelBridge(AppModel& model, OrvelKit::Executor& executor, UpdaterController* updater,
                QObject* parent = nullptr);
    ~ModelBridge() override;

    AppModel& model() const { return model_; }
    OrvelKit::Executor& executor() const { return executor_; }
    // Null without an update framework.
    UpdaterController* updater() const { return updater_; }

    Screen currentScreen() const;
    QString currentScreenName() const;
    QString currentId() const;
    bool canGoBack() const { return !model_.path().empty(); }

    bool headerShowsBack() const;
    QString headerTitle() const;
    bool headerShowsBrandMark() const;
    bool headerBrandNeedsYou() const;
    QVariantList headerTrailing() const;

    MenuBarIndicatorValue indicator() const;

    bool expandedActivityEnabled() const { return model_.expandedActivityEnabled(); }
    bool onlyInterrupt() const { return model_.onlyInterrupt(); }
    bool groupActivityUpdates() const { return model_.groupActivityUpdates(); }
    bool useDevelopmentData() const { return model_.useDevelopmentData(); }
    bool launchAtLogin() const { return model_.launchAtLogin(); }
    int newNotificationSequence() const;

    // ---- Actions -------------------------------------------------------
    // A header button, by its `action` value from headerTrailing (or Back).
    Q_INVOKABLE void performHeaderAction(HeaderAction action);
    Q_INVOKABLE void open(Screen screen, const QString& id = {});
    Q_INVOKABLE void back() { model_.back(); }
    // Starts a sync without waiting for it.
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void beginBriefingSession() { model_.beginBriefingSession(); }
    Q_INVOKABLE void setExpandedActivityEnabled(bool value) {
        model_.setExpandedActivityEnabled(value);
    }
    Q_INVOKABLE void setUseDevelopmentData(bool value) { model_.setUseDevelopmentData(value); }

    // The panel's lifecycle: shown (it counts as a visible interface, a
    // briefing session begins and one sync starts), and hidden.
    void rootViewAppeared();
    void rootViewDisappeared();
    // While the root view is hidden the header is not announced (its brand
    // mark reads the briefing of the whole inbox); showing it announces
    // whatever changed meanwhile once. Shown until told otherwise.
    void setRootViewShown(bool shown);

signals:
    // One per group of model fields, emitted once per change of the group.
    void inboxChanged();
    void configChanged();
    void nowChanged();
    void engagementChanged();
    void newNotificationSequenceChanged();
    void preferencesChanged();
    void expandedActivityRequestSequenceChanged();
    void navigationChanged();
    // Derived: the presentation values (inbox, now, briefing baseline,
    // development data or pinned cards changed).
    void presentationChanged();
    // Derived: the header (navigation, presentation or the expanded activity
    // setting changed), while the root view shows.
    void headerChanged();

private:
    void modelChanged(ModelField field);
    void setInterfaceVisible(bool visible);
    void announceHeader();

    AppModel& model_;
    OrvelKit::Executor& executor_;
    UpdaterController* updater_;
    Subscription subscription_;
    bool rootViewShown_ = true;
    bool headerMissed_ = false;
};

} // namespace Orvel
