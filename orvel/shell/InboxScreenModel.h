#pragma once

// The inbox screen's view model: the values of InboxScreenValues as
// properties and item models, recomputed once per executor turn after the
// model fields they depend on change, and the screen's actions.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/shell/AgentRowListModel.h"
#include "orvel/shell/CardTileListModel.h"
#include "orvel/shell/InboxScreenValues.h"
#include "orvel/shell/ModelFollower.h"
#include "orvel/shell/TransitionListModel.h"
#endif

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace Orvel {

class InboxScreenModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel gives its root view the inbox screen's model.")
    Q_PROPERTY(bool showingDevelopmentData READ showingDevelopmentData NOTIFY changed)
    Q_PROPERTY(QString errorText READ errorText NOTIFY changed)
    Q_PROPERTY(bool empty READ empty NOTIFY changed)
    Q_PROPERTY(QString eyebrowSymbol READ eyebrowSymbol NOTIFY changed)
    Q_PROPERTY(QString eyebrowLabel READ eyebrowLabel NOTIFY changed)
    Q_PROPERTY(QString headline READ headline NOTIFY changed)
    Q_PROPERTY(QString summary READ summary NOTIFY changed)
    Q_PROPERTY(int attentionCount READ attentionCount NOTIFY changed)
    Q_PROPERTY(int activeCount READ activeCount NOTIFY changed)
    Q_PROPERTY(int completedCount READ completedCount NOTIFY changed)
    Q_PROPERTY(int unreadAttentionCount READ unreadAttentionCount NOTIFY changed)
    Q_PROPERTY(QString allClearText READ allClearText NOTIFY changed)
    Q_PROPERTY(QString scopePhrase READ scopePhrase NOTIFY changed)
    Q_PROPERTY(QString updatesDetail READ updatesDetail NOTIFY changed)
    // The first attention rows, transitions and radar rows, and every card.
    Q_PROPERTY(Orvel::AgentRowListModel* attentionRows READ attentionRows CONSTANT)
    Q_PROPERTY(Orvel::TransitionListModel* transitions READ transitions CONSTANT)
    Q_PROPERTY(Orvel::AgentRowListModel* radarRows READ radarRows CONSTANT)
    Q_PROPERTY(Orvel::CardTileListModel* cards READ cards CONSTANT)

public:
    // The model and the executor must outlive the view model.
    InboxScreenModel(AppModel& model, OrvelKit::Executor& executor, QObject* parent = nullptr);

    // Whether the panel shows: hidden, the model is followed but nothing is
    // recomputed; shown again, it catches up once.
    void setActive(bool active) { follower_.setPaused(!active); }

    const InboxScreenValues& values() const { return values_; }

    bool showingDevelopmentData() const { return values_.showingDevelopmentData; }
    QString errorText() const { return errorText_; }
    bool empty() const { return values_.empty; }
    QString eyebrowSymbol() const { return eyebrowSymbol_; }
    QString eyebrowLabel() const { return eyebrowLabel_; }
    QString headline() const { return headline_; }
    QString summary() const { return summary_; }
    int attentionCount() const { return static_cast<int>(values_.attentionCount); }
    int activeCount() const { return static_cast<int>(values_.activeCount); }
    int completedCount() const { return static_cast<int>(values_.completedCount); }
    int unreadAttentionCount() const { return static_cast<int>(values_.unreadAttentionCount); }
    QString allClearText() const { return allClearText_; }
    QString scopePhrase() const { return scopePhrase_; }
    QString updatesDetail() const { return updatesDetail_; }
    AgentRowListModel* attentionRows() const { return attentionRows_; }
    TransitionListModel* transitions() const { return transitions_; }
    AgentRowListModel* radarRows() const { return radarRows_; }
    CardTileListModel* cards() const { return cards_; }

    // "Hide" on the development-data banner.
    Q_INVOKABLE void hideDevelopmentData();
    // "Remove from Your Attention".
    Q_INVOKABLE void dismiss(const QString& id);

signals:
    void changed();

private:
    void recompute();

    AppModel& model_;
    InboxScreenValues values_;
    bool computed_ = false;
    QString errorText_;
    QString eyebrowSymbol_;
    QString eyebrowLabel_;
    QString headline_;
    QString summary_;
    QString allClearText_;
    QString scopePhrase_;
    QString updatesDetail_;
    AgentRowListModel* attentionRows_;
    TransitionListModel* transitions_;
    AgentRowListModel* radarRows_;
    CardTileListModel* cards_;
    ModelFollower follower_;
};

} // namespace Orvel
