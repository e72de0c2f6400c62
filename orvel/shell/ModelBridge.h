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
#include "orvel/shell/AgentRowListModel.h"
#include "orvel/shell/MenuBarIndicatorValue.h"
#endif

#include <QObject>
#include <QString>
#include <QVariantList>

namespace Orvel {

class ModelBridge final : public QObject {
    Q_OBJECT
    // Navigation.
    Q_PROPERTY(QString currentScreen READ currentScreen NOTIFY navigationChanged)
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
    // What the inbox shows.
    Q_PROPERTY(Orvel::MenuBarIndicatorValue indicator READ indicator NOTIFY presentationChanged)
    Q_PROPERTY(int unreadAttentionCount READ unreadAttentionCount NOTIFY presentationChanged)
    Q_PROPERTY(bool showingDevelopmentData READ showingDevelopmentData NOTIFY presentationChanged)
    Q_PROPERTY(QString lastError READ lastError NOTIFY lastErrorChanged)
    // The smart briefing's attention rows; refreshed one executor turn after
    // the presentation values change.
    Q_PROPERTY(Orvel::AgentRowListModel* attentionRows READ attentionRows CONSTANT)
    // Preferences.
    Q_PROPERTY(bool expandedActivityEnabled READ expandedActivityEnabled NOTIFY preferencesChanged)
    Q_PROPERTY(bool onlyInterrupt READ onlyInterrupt NOTIFY preferencesChanged)
    Q_PROPERTY(bool groupActivityUpdates READ groupActivityUpdates NOTIFY preferencesChanged)
    Q_PROPERTY(bool useDevelopmentData READ useDevelopmentData NOTIFY preferencesChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin NOTIFY preferencesChanged)
    Q_PROPERTY(int newNotificationSequence READ newNotificationSequence NOTIFY
                   newNotificationSequenceChanged)

public:
    // `updater` may be null (no update framework in tests). The model, the
    // executor and the updater must outlive the bridge.
    ModelBridge(AppModel& model, OrvelKit::Executor& executor, UpdaterController* updater,
                QObject* parent = nullptr);
    ~ModelBridge() override;

    AppModel& model() const { return model_; }

    QString currentScreen() const;
    QString currentScreenName() const;
    QString currentId() const;
    bool canGoBack() const { return !model_.path().empty(); }

    bool headerShowsBack() const;
    QString headerTitle() const;
    bool headerShowsBrandMark() const;
    bool headerBrandNeedsYou() const;
    QVariantList headerTrailing() const;

    MenuBarIndicatorValue indicator() const;
    int unreadAttentionCount() const;
    bool showingDevelopmentData() const { return model_.isShowingDevelopmentData(); }
    QString lastError() const;
    AgentRowListModel* attentionRows() const { return attentionRows_; }

    bool expandedActivityEnabled() const { return model_.expandedActivityEnabled(); }
    bool onlyInterrupt() const { return model_.onlyInterrupt(); }
    bool groupActivityUpdates() const { return model_.groupActivityUpdates(); }
    bool useDevelopmentData() const { return model_.useDevelopmentData(); }
    bool launchAtLogin() const { return model_.launchAtLogin(); }
    int newNotificationSequence() const;

    // ---- Actions -------------------------------------------------------
    // A header button, by its `action` value from headerTrailing (or 0 for
    // back).
    Q_INVOKABLE void performHeaderAction(int action);
    Q_INVOKABLE void open(const QString& screen, const QString& id = {});
    Q_INVOKABLE void back() { model_.back(); }
    // Starts a sync without waiting for it.
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void beginBriefingSession() { model_.beginBriefingSession(); }
    Q_INVOKABLE void setExpandedActivityEnabled(bool value) {
        model_.setExpandedActivityEnabled(value);
    }
    Q_INVOKABLE void setUseDevelopmentData(bool value) { model_.setUseDevelopmentData(value); }

    // The root view's lifecycle: shown (the panel counts as a visible
    // interface and a briefing session begins), hidden, and the app became
    // active (a briefing session and a sync).
    Q_INVOKABLE void rootViewAppeared();
    Q_INVOKABLE void rootViewDisappeared();
    Q_INVOKABLE void applicationBecameActive();

    // Untrusted Markdown as safe rich text.
    Q_INVOKABLE QString renderMarkdown(const QString& markdown) const;
    // Opens `url` in the browser when it is an http or https address; false
    // (and nothing opens) otherwise.
    Q_INVOKABLE bool openLink(const QString& url) const;

signals:
    // One per group of model fields, emitted once per change of the group.
    void inboxChanged();
    void configChanged();
    void nowChanged();
    void lastErrorChanged();
    void engagementChanged();
    void newNotificationSequenceChanged();
    void preferencesChanged();
    void expandedActivityRequestSequenceChanged();
    void navigationChanged();
    // Derived: the presentation values (inbox, now, briefing baseline,
    // development data or pinned cards changed).
    void presentationChanged();
    // Derived: the header (navigation, presentation or the expanded activity
    // setting changed).
    void headerChanged();

private:
    void modelChanged(ModelField field);
    void presentationWillChange();
    void updateLists();
    void setInterfaceVisible(bool visible);

    AppModel& model_;
    OrvelKit::Executor& executor_;
    UpdaterController* updater_;
    AgentRowListModel* attentionRows_;
    bool listsUpdateScheduled_ = false;
    Subscription subscription_;
    // Lets posted work find out that the bridge is gone.
    std::shared_ptr<ModelBridge*> self_;
};

// Whether a link may be opened; the same test `openLink` applies.
bool mayOpenLink(const QString& url);

} // namespace Orvel
