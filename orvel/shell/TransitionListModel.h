#pragma once

// The briefing's transitions (a source whose status changed) as an item
// model: who, what, when, and the status before and after.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvelkit/presentation/SmartBriefing.h"
#endif

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>
#include <vector>

namespace Orvel {

class TransitionListModel : public QAbstractListModel {
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
        FromDotRole,
        FromLabelRole,
        ToDotRole,
        ToLabelRole,
    };

    explicit TransitionListModel(QObject* parent = nullptr);

    // Resets the model only when the transitions differ.
    void setTransitions(std::vector<OrvelKit::AgentTransition> transitions);
    int count() const { return static_cast<int>(transitions_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    std::vector<OrvelKit::AgentTransition> transitions_;
};

} // namespace Orvel
