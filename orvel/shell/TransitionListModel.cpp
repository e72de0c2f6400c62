#include "orvel/shell/TransitionListModel.h"

#include "orvel/shell/InboxScreenValues.h"

namespace Orvel {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

} // namespace

TransitionListModel::TransitionListModel(QObject* parent) : QAbstractListModel(parent) {}

void TransitionListModel::setTransitions(std::vector<OrvelKit::AgentTransition> transitions) {
    if (transitions == transitions_) {
        return;
    }
    const auto countBefore = transitions_.size();
    beginResetModel();
    transitions_ = std::move(transitions);
    endResetModel();
    if (transitions_.size() != countBefore) {
        emit countChanged();
    }
}

int TransitionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TransitionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count()) {
        return {};
    }
    const auto& transition = transitions_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case RowIdRole:
        return QString::fromStdString(transition.id);
    case AgentRole:
        return QString::fromStdString(transition.agent);
    case Qt::DisplayRole:
    case SummaryRole:
        return QString::fromStdString(transition.summary);
    case RelativeTimeRole:
        return QString::fromStdString(transition.relativeTime);
    case FromDotRole:
        return text(OrvelKit::Json::text(transition.from));
    case FromLabelRole:
        return text(statusLabel(transition.from));
    case ToDotRole:
        return text(OrvelKit::Json::text(transition.to));
    case ToLabelRole:
        return text(statusLabel(transition.to));
    default:
        return {};
    }
}

QHash<int, QByteArray> TransitionListModel::roleNames() const {
    return {{RowIdRole, "rowId"},      {AgentRole, "agent"},     {SummaryRole, "summary"},
            {RelativeTimeRole, "age"}, {FromDotRole, "fromDot"}, {FromLabelRole, "fromLabel"},
            {ToDotRole, "toDot"},      {ToLabelRole, "toLabel"}};
}

} // namespace Orvel
