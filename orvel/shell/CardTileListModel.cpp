#include "orvel/shell/CardTileListModel.h"

namespace Orvel {

CardTileListModel::CardTileListModel(QObject* parent) : QAbstractListModel(parent) {}

void CardTileListModel::setTiles(std::vector<CardTile> tiles) {
    if (tiles == tiles_) {
        return;
    }
    const auto countBefore = tiles_.size();
    beginResetModel();
    tiles_ = std::move(tiles);
    endResetModel();
    if (tiles_.size() != countBefore) {
        emit countChanged();
    }
}

int CardTileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant CardTileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count()) {
        return {};
    }
    const auto& tile = tiles_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case CardIdRole:
        return QString::fromStdString(tile.id);
    case Qt::DisplayRole:
    case TitleRole:
        return QString::fromStdString(tile.title);
    case PinnedRole:
        return tile.pinned;
    case FieldLabelRole:
        return QString::fromStdString(tile.fieldLabel);
    case ValueRole:
        return QString::fromStdString(tile.value);
    case ValueColorRole: {
        const auto name = ThemePalette::name(tile.valueColor);
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> CardTileListModel::roleNames() const {
    return {{CardIdRole, "cardId"},         {TitleRole, "title"}, {PinnedRole, "pinned"},
            {FieldLabelRole, "fieldLabel"}, {ValueRole, "value"}, {ValueColorRole, "valueColor"}};
}

} // namespace Orvel
