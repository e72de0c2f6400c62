#pragma once

// The activity window's dashboard cards as an item model: title, pin mark,
// the metric or labelled-value layout and the "Updated … ago" footer.

#include <QAbstractListModel>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <vector>

namespace Orvel {

class ActivityCardListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Lists come from the view models.")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    struct Card {
        QString id;
        QString title;
        bool pinned = false;
        // The metric layout: the primary field large, the others as rows.
        bool metric = false;
        QString primaryDisplay;
        QString primaryLabel;
        // {label, display} each; a card has a few.
        QVariantList fields;
        // "Updated 5m ago".
        QString footer;

        bool operator==(const Card&) const = default;
    };

    enum Role {
        CardIdRole = Qt::UserRole + 1,
        TitleRole,
        PinnedRole,
        MetricRole,
        PrimaryDisplayRole,
        PrimaryLabelRole,
        FieldsRole,
        FooterRole,
    };

    explicit ActivityCardListModel(QObject* parent = nullptr);

    // Resets the model only when the cards differ.
    void setCards(std::vector<Card> cards);
    int count() const { return static_cast<int>(cards_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    std::vector<Card> cards_;
};

} // namespace Orvel
