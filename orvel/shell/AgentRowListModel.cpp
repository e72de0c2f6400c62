#include "orvel/shell/AgentRowListModel.h"

#include "orvel/shell/InboxScreenValues.h"

namespace Orvel {

AgentRowListModel::AgentRowListModel(QObject* parent) : QAbstractListModel(parent) {}

void AgentRowListModel::setRows(std::vector<OrvelKit::AgentRow> rows) {
    if (rows == rows_) {
        return;
    }
    const auto countBefore = rows_.size();
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
    if (rows_.size() != countBefore) {
        emit countChanged();
    }
}

int AgentRowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant AgentRowListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count()) {
        return {};
    }
    const auto& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case RowIdRole:
        return QString::fromStdString(row.id);
    case Qt::DisplayRole:
    case SummaryRole:
        return QString::fromStdString(row.summary);
    case AgentRole:
        return QString::fromStdString(row.agent);
    case RelativeTimeRole:
        return QString::fromStdString(row.relativeTime);
    case DotRole: {
        const auto name = OrvelKit::Json::text(row.dot);
        return name.empty() ? QStringLiteral("info")
                            : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    case UnreadRole:
        return row.isUnread;
    case NeedsYouRole:
        return row.section == OrvelKit::InboxSection::needsYou;
    case StatusLabelRole: {
        const auto label = statusLabel(row.dot);
        return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> AgentRowListModel::roleNames() const {
    return {{RowIdRole, "rowId"},       {AgentRole, "agent"},
            {SummaryRole, "summary"},   {RelativeTimeRole, "age"},
            {DotRole, "dot"},           {UnreadRole, "unread"},
            {NeedsYouRole, "needsYou"}, {StatusLabelRole, "statusLabel"}};
}

} // namespace Orvel
