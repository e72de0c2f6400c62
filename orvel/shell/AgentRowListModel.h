#pragma once

// A list of triage rows for the views, as an item model: the views read rows
// by role and never hold the whole list as one value. Replacing the rows
// resets the model only when they differ.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvelkit/presentation/AgentRow.h"
#endif

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>
#include <vector>

namespace Orvel {

class AgentRowListModel : public QAbstractListModel {
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
        UnreadRole,
        NeedsYouRole,
        // "Needs you", "Running", ... (see statusLabel).
        StatusLabelRole,
    };

    explicit AgentRowListModel(QObject* parent = nullptr);

    void setRows(std::vector<OrvelKit::AgentRow> rows);
    const std::vector<OrvelKit::AgentRow>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    std::vector<OrvelKit::AgentRow> rows_;
};

} // namespace Orvel
