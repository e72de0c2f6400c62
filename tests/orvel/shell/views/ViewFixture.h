#pragma once

// What the view tests drive: an app model on a manual executor (see
// ModelHarness) with the panel's view models over it. QML tests reach it as
// the singleton `Fixture` of module OrvelTest; each test starts with
// `Fixture.reset()` and feeds the model a small inbox through the
// scenario functions.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/shell/ChannelsScreenModel.h"
#include "orvel/shell/DetailScreenModel.h"
#include "orvel/shell/EngageScreenModel.h"
#include "orvel/shell/ExpandedActivityModel.h"
#include "orvel/shell/InboxScreenModel.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/PairScreenModel.h"
#include "orvel/shell/PersistentCardScreenModel.h"
#include "orvel/shell/SettingsScreenModel.h"
#include "orvel/shell/UpdatesListModel.h"
#include "tests/orvel/core/ModelHarness.h"
#endif

#include "orvel/shell/Clipboard.h"

#include <QObject>
#include <QQuickItem>
#include <QVariantList>
#include <memory>

namespace OrvelTest {

class CheckingUpdateFramework;

class ViewFixture final : public QObject {
    Q_OBJECT
    Q_PROPERTY(Orvel::ModelBridge* bridge READ bridge NOTIFY rebuilt)
    Q_PROPERTY(Orvel::InboxScreenModel* inboxScreen READ inboxScreen NOTIFY rebuilt)
    Q_PROPERTY(Orvel::UpdatesListModel* updates READ updates NOTIFY rebuilt)
    Q_PROPERTY(Orvel::DetailScreenModel* detail READ detail NOTIFY rebuilt)
    Q_PROPERTY(Orvel::PersistentCardScreenModel* card READ card NOTIFY rebuilt)
    Q_PROPERTY(Orvel::ChannelsScreenModel* channels READ channels NOTIFY rebuilt)
    Q_PROPERTY(Orvel::EngageScreenModel* engage READ engage NOTIFY rebuilt)
    Q_PROPERTY(Orvel::PairScreenModel* pair READ pair NOTIFY rebuilt)
    // The last link the pair screen opened in the browser.
    Q_PROPERTY(QString openedUrl READ openedUrl NOTIFY rebuilt)
    Q_PROPERTY(Orvel::SettingsScreenModel* settings READ settings NOTIFY rebuilt)
    // The activity window's model, active (as while its window shows).
    Q_PROPERTY(Orvel::ExpandedActivityModel* activity READ activity NOTIFY rebuilt)

public:
    ViewFixture();
    ~ViewFixture() override;

    Orvel::ModelBridge* bridge() const { return bridge_.get(); }
    Orvel::InboxScreenModel* inboxScreen() const { return inboxScreen_.get(); }
    Orvel::UpdatesListModel* updates() const { return updates_.get(); }
    Orvel::DetailScreenModel* detail() const { return detail_.get(); }
    Orvel::PersistentCardScreenModel* card() const { return card_.get(); }
    Orvel::ChannelsScreenModel* channels() const { return channels_.get(); }
    Orvel::EngageScreenModel* engage() const { return engage_.get(); }
    Orvel::PairScreenModel* pair() const { return pair_.get(); }
    QString openedUrl() const { return openedUrl_; }
    Orvel::SettingsScreenModel* settings() const { return settings_.get(); }
    Orvel::ExpandedActivityModel* activity() const { return activity_.get(); }

    // A fresh model: paired, nothing synced, the clock at ModelHarness::start.
    Q_INVOKABLE void reset();
    // The service answers the next sync with `updates` on channel "ch", each
    // a map {seq, status ("need", "done", "running", "failed", ...), title,
    // body, details, agent, minutesAgo, links ([{label, url}])}; then the
    // model syncs.
    Q_INVOKABLE void sync(const QVariantList& updates);
    // The service answers the next sync with `answer` (a sync answer as the
    // service writes it); then the model syncs. False (and a warning) when
    // it does not decode.
    Q_INVOKABLE bool syncJson(const QString& answer);
    // The service answers `endpoint` ("engage", "pair/code", ...) with
    // `json`, or fails it with HTTP `status`.
    Q_INVOKABLE void answer(const QString& endpoint, const QString& json);
    Q_INVOKABLE void fail(const QString& endpoint, int status);
    // Moves the executor's timers on by `seconds` (the wall clock stays).
    Q_INVOKABLE void advanceSeconds(double seconds);
    // What the desktop clipboard holds.
    Q_INVOKABLE QString clipboardText() const;
    // Moves the clock on and lets due work run.
    Q_INVOKABLE void advanceMinutes(double minutes);
    // Starts the briefing window `minutes` before now, as a visit then would.
    Q_INVOKABLE void visitedMinutesAgo(double minutes);
    // Runs everything the executor has queued.
    Q_INVOKABLE void settle();
    // Whether the update counts as read on its channel.
    Q_INVOKABLE bool isRead(const QString& id) const;
    // The "Group updates by source" setting.
    Q_INVOKABLE void setGroupActivityUpdates(bool grouped);
    // The body of the latest request to `endpoint`; empty when none came.
    Q_INVOKABLE QString lastRequestBody(const QString& endpoint) const;
    // The update check the settings screen started ends.
    Q_INVOKABLE void finishUpdateCheck();
    // Whether the desktop would start the app at login (held in memory).
    Q_INVOKABLE bool launchesAtLogin() const;
    // The visible item under `root` (itself included) whose `text` is
    // `text`, or null.
    Q_INVOKABLE QQuickItem* visibleText(QQuickItem* root, const QString& text) const;

signals:
    void rebuilt();

private:
    std::unique_ptr<ModelHarness> harness_;
    std::unique_ptr<Orvel::ModelBridge> bridge_;
    std::unique_ptr<Orvel::InboxScreenModel> inboxScreen_;
    std::unique_ptr<Orvel::UpdatesListModel> updates_;
    std::unique_ptr<Orvel::DetailScreenModel> detail_;
    std::unique_ptr<Orvel::PersistentCardScreenModel> card_;
    Orvel::Clipboard clipboard_;
    std::unique_ptr<Orvel::ChannelsScreenModel> channels_;
    std::unique_ptr<Orvel::EngageScreenModel> engage_;
    std::unique_ptr<Orvel::PairScreenModel> pair_;
    QString openedUrl_;
    std::shared_ptr<CheckingUpdateFramework> updateFramework_;
    std::unique_ptr<Orvel::UpdaterController> updater_;
    std::unique_ptr<Orvel::SettingsScreenModel> settings_;
    std::unique_ptr<Orvel::ExpandedActivityModel> activity_;
};

} // namespace OrvelTest
