#include "orvel/shell/ActivityRowListModel.h"

namespace Orvel {

ActivityRowListModel::ActivityRowListModel(QObject* parent) : QAbstractListModel(parent) {}

void ActivityRowListModel::setRows(std::shared_ptr<const ActivitySource> source,
                                   std::vector<const OrvelKit::ActivityItemDescriptor*> needsYou,
                                   std::vector<const OrvelKit::ActivityItemDescriptor*> others) {
    const auto countBefore = rows_.size();
    beginResetModel();
    source_ = std::move(source);
    needsYouCount_ = needsYou.size();
    rows_ = std::move(needsYou);
    rows_.insert(rows_.end(), others.begin(), others.end());
    endResetModel();
    if (rows_.size() != countBefore) {
        emit countChanged();
    }
}

const OrvelKit::ActivityItemDescriptor* ActivityRowListModel::item(int row) const {
    return row >= 0 && row < count() ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

int ActivityRowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QString ActivityRowListModel::badge(OrvelKit::StatusDot dot) {
    using OrvelKit::StatusDot;
    switch (dot) {
    case StatusDot::need:
        return tr("needs you");
    case StatusDot::running:
        return tr("running");
    case StatusDot::done:
        return tr("done");
    case StatusDot::failed:
        return tr("failed");
    case StatusDot::info:
    case StatusDot::idle:
        break;
    }
    return tr("info");
}

QVariant ActivityRowListModel::data(const QModelIndex& index, int role) const {
    const auto* row = index.isValid() ? item(index.row()) : nullptr;
    if (!row) {
        return {};
    }
    switch (role) {
    case RowIdRole:
        return QString::fromStdString(row->id);
    case Qt::DisplayRole:
    case SummaryRole:
        return QString::fromStdString(row->summary);
    case AgentRole:
        return QString::fromStdString(row->agent);
    case RelativeTimeRole:
        return QString::fromStdString(row->relativeTime);
    case DotRole:
        return QString::fromStdString(std::string(OrvelKit::Json::text(row->dot)));
    case BadgeRole:
        return badge(row->dot);
    case GroupRole:
        return static_cast<std::size_t>(index.row()) < needsYouCount_ ? QStringLiteral("needsYou")
                                                                      : QStringLiteral("other");
    case GroupStartRole:
        return index.row() == 0 || static_cast<std::size_t>(index.row()) == needsYouCount_;
    default:
        return {};
    }
}

QHash<int, QByteArray> ActivityRowListModel::roleNames() const {
    return {{RowIdRole, "rowId"},     {AgentRole, "agent"},
            {SummaryRole, "summary"}, {RelativeTimeRole, "age"},
            {DotRole, "dot"},         {BadgeRole, "badge"},
            {GroupRole, "group"},     {GroupStartRole, "groupStart"}};
}

} // namespace Orvel
