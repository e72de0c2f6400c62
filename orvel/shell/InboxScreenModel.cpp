#include "orvel/shell/InboxScreenModel.h"

namespace Orvel {

InboxScreenModel::InboxScreenModel(AppModel& model, OrvelKit::Executor& executor, QObject* parent)
    : QObject(parent), model_(model), attentionRows_(new AgentRowListModel(this)),
      transitions_(new TransitionListModel(this)), radarRows_(new AgentRowListModel(this)),
      cards_(new CardTileListModel(this)),
      follower_(model, executor,
                {ModelField::inbox, ModelField::now, ModelField::briefingBaseline,
                 ModelField::lastError, ModelField::useDevelopmentData, ModelField::pinnedCardIds},
                [this] { recompute(); }) {
    recompute();
}

void InboxScreenModel::recompute() {
    auto values = inboxScreenValues(model_);
    if (computed_ && values == values_) {
        return;
    }
    computed_ = true;
    values_ = std::move(values);
    errorText_ = QString::fromStdString(values_.errorText);
    eyebrowSymbol_ = QString::fromStdString(values_.eyebrow.symbol);
    eyebrowLabel_ = QString::fromStdString(values_.eyebrow.displayLabel);
    headline_ = QString::fromStdString(values_.headline);
    summary_ = QString::fromStdString(values_.summary);
    allClearText_ = QString::fromStdString(values_.allClearText);
    scopePhrase_ = QString::fromStdString(values_.scopePhrase);
    updatesDetail_ = QString::fromStdString(values_.updatesDetail);
    attentionRows_->setRows(values_.attention);
    transitions_->setTransitions(values_.transitions);
    radarRows_->setRows(values_.radar);
    cards_->setTiles(values_.cards);
    emit changed();
}

void InboxScreenModel::hideDevelopmentData() {
    model_.setUseDevelopmentData(false);
}

void InboxScreenModel::dismiss(const QString& id) {
    model_.dismiss(id.toStdString());
}

} // namespace Orvel
