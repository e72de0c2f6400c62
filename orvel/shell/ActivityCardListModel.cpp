#include "orvel/shell/ActivityCardListModel.h"

namespace Orvel {

ActivityCardListModel::ActivityCardListModel(QObject* parent) : QAbstractListModel(parent) {}

void ActivityCardListModel::setCards(std::vector<Card> cards) {
    if (cards == cards_) {
        return;
    }
    const auto countBefore = cards_.size();
    beginResetModel();
    cards_ = std::move(cards);
    endResetModel();
    if (cards_.size() != countBefore) {
        emit countChanged();
    }
}

int ActivityCardListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ActivityCardListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count()) {
        return {};
    }
    const auto& card = cards_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case CardIdRole:
        return card.id;
    case Qt::DisplayRole:
    case TitleRole:
        return card.title;
    case PinnedRole:
        return card.pinned;
    case MetricRole:
        return card.metric;
    case PrimaryDisplayRole:
        return card.primaryDisplay;
    case PrimaryLabelRole:
        return card.primaryLabel;
    case FieldsRole:
        return card.fields;
    case FooterRole:
        return card.footer;
    default:
        return {};
    }
}

QHash<int, QByteArray> ActivityCardListModel::roleNames() const {
    return {{CardIdRole, "cardId"},
            {TitleRole, "title"},
            {PinnedRole, "pinned"},
            {MetricRole, "metric"},
            {PrimaryDisplayRole, "primaryDisplay"},
            {PrimaryLabelRole, "primaryLabel"},
            {FieldsRole, "fields"},
            {FooterRole, "footer"}};
}

} // namespace Orvel
