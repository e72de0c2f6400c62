#pragma once

// The tiles of the inbox's cards rail as an item model.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/shell/InboxScreenValues.h"
#endif

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>
#include <vector>

namespace Orvel {

class CardTileListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Lists come from the view models.")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        CardIdRole = Qt::UserRole + 1,
        TitleRole,
        PinnedRole,
        FieldLabelRole,
        ValueRole,
        // The ThemeColor name of the value ("green", "text", ...).
        ValueColorRole,
    };

    explicit CardTileListModel(QObject* parent = nullptr);

    // Resets the model only when the tiles differ.
    void setTiles(std::vector<CardTile> tiles);
    int count() const { return static_cast<int>(tiles_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    std::vector<CardTile> tiles_;
};

} // namespace Orvel
