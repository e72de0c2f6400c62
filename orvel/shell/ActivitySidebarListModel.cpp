#include "orvel/shell/ActivitySidebarListModel.h"

namespace Orvel {

ActivitySidebarListModel::ActivitySidebarListModel(QObject* parent) : QAbstractListModel(parent) {}

void ActivitySidebarListModel::setEntries(std::vector<Entry> entries) {
    if (entries == entries_) {
        return;
    }
    const auto countBefore = entries_.size();
    if (entries.size() == countBefore) {
        // Same shape (a new selection, new counts): the delegates stay.
        entries_ = std::move(entries);
        emit dataChanged(index(0), index(count() - 1));
        return;
    }
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
    emit countChanged();
}

int ActivitySidebarListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ActivitySidebarListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count()) {
        return {};
    }
    const auto& entry = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case KeyRole:
        return entry.key;
    case Qt::DisplayRole:
    case LabelRole:
        return entry.label;
    case SymbolRole:
        return entry.symbol;
    case ActivityRole:
        return entry.activity;
    case ActivityNameRole:
        return entry.activityName;
    case CountRole:
        return entry.count;
    case SelectedRole:
        return entry.selected;
    default:
        return {};
    }
}

QHash<int, QByteArray> ActivitySidebarListModel::roleNames() const {
    return {{KeyRole, "key"},
            {LabelRole, "label"},
            {SymbolRole, "symbol"},
            {ActivityRole, "activity"},
            {ActivityNameRole, "activityName"},
            {CountRole, "count"},
            {SelectedRole, "selected"}};
}

} // namespace Orvel
