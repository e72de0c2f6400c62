#pragma once

// The activity window's rows as an item model: the pane's needs-you group,
// then the other rows, each tagged with its group for the group headings
// (shown on each group's first row). It refers to the window's source values instead of copying
// them, so a new filter costs a list of pointers.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/shell/ActivityWindowValues.h"
#endif

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <vector>

namespace Orvel {

class ActivityRowListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Lists come from the view models.")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        RowIdRole = Qt::UserRole + 1,
        AgentRole,
        SummaryRole,
        RelativeTimeRole,
        DotRole,
        // "needs you", "running", "done", "failed", "info".
        BadgeRole,
        // "needsYou" for the first group, "other" for the rest.
        GroupRole,
        // The row is its group's first.
        GroupStartRole,
    };

    explicit ActivityRowListModel(QObject* parent = nullptr);

    // The rows point into `source`, which the model keeps alive.
    void setRows(std::shared_ptr<const ActivitySource> source,
                 std::vector<const OrvelKit::ActivityItemDescriptor*> needsYou,
                 std::vector<const OrvelKit::ActivityItemDescriptor*> others);
    int count() const { return static_cast<int>(rows_.size()); }
    // The row's item, or null outside the list.
    const OrvelKit::ActivityItemDescriptor* item(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The badge text of a status.
    static QString badge(OrvelKit::StatusDot dot);

signals:
    void countChanged();

private:
    std::shared_ptr<const ActivitySource> source_;
    std::vector<const OrvelKit::ActivityItemDescriptor*> rows_;
    std::size_t needsYouCount_ = 0;
};

} // namespace Orvel
