#pragma once

// One list of the activity window's sidebar (its days, or its channels) as an
// item model: each entry's key, label, symbol or activity, trailing count and
// whether it is the selected one.

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <vector>

namespace Orvel {

class ActivitySidebarListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Lists come from the view models.")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    struct Entry {
        // What choosing the entry selects: a day's index, a channel's id.
        QString key;
        QString label;
        // A symbol, or empty when the entry shows an activity dot.
        QString symbol;
        // The channel's activity ("pending", "active", "quiet", "idle") and
        // its name ("Pending", ...).
        QString activity;
        QString activityName;
        // -1: no count.
        int count = -1;
        bool selected = false;

        bool operator==(const Entry&) const = default;
    };

    enum Role {
        KeyRole = Qt::UserRole + 1,
        LabelRole,
        SymbolRole,
        ActivityRole,
        ActivityNameRole,
        CountRole,
        SelectedRole,
    };

    explicit ActivitySidebarListModel(QObject* parent = nullptr);

    // Resets the model only when the entries differ.
    void setEntries(std::vector<Entry> entries);
    const std::vector<Entry>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    std::vector<Entry> entries_;
};

} // namespace Orvel
