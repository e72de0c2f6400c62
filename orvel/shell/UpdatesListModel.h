#pragma once

// The updates screen's list: every update of the inbox in use, newest first,
// narrowed by the chosen filter, either flat or grouped by source. Grouped,
// the list holds for each group a header, its rows (the first three while the
// group is collapsed) and, when it has more, a toggle; the view shows each
// item by its `kind`. Values are recomputed once per model change, and only
// while the updates screen is the current destination (a triage of the whole
// inbox is not free): changes made meanwhile are picked up when it returns.
// The triage itself may run off the GUI thread (see WorkRunner) over a
// snapshot of the inbox; only the list's items are built on the list's
// thread, and a triage overtaken by a newer one is dropped.
// A sync or a toggle inserts and removes only the items that changed, so the
// view keeps its place and animates just those; a new filter resets the list.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ModelFollower.h"
#include "orvelkit/presentation/AgentRow.h"
#include "orvelkit/presentation/UpdateFilter.h"
#endif

#include <QAbstractListModel>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Orvel {

class UpdatesListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the updates list.")
    Q_PROPERTY(Filter filter READ filter WRITE setFilter NOTIFY filterChanged)
    // The filter buttons' titles, in the order of Filter.
    Q_PROPERTY(QStringList filterTitles READ filterTitles CONSTANT)
    // "No … updates" for the current filter.
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY filterChanged)
    // How many updates the filter keeps.
    Q_PROPERTY(int updateCount READ updateCount NOTIFY changed)
    Q_PROPERTY(bool grouped READ grouped NOTIFY changed)
    // False until the first triage is in, so nothing says "No … updates" yet.
    Q_PROPERTY(bool ready READ ready NOTIFY changed)

public:
    // In the order of OrvelKit::UpdateFilter.
    enum Filter { All, Unread, NeedsYou, Running, Failed };
    Q_ENUM(Filter)
    enum Kind { FlatRow, GroupHeader, GroupedRow, GroupToggle };
    Q_ENUM(Kind)
    enum Role {
        KindRole = Qt::UserRole + 1,
        RowIdRole,
        AgentRole,
        SummaryRole,
        AgeRole,
        DotRole,
        FailedRole,
        GroupIdRole,
        // Header: "N updates" for a group of two rows or more, else empty.
        GroupCountRole,
        // Toggle: "Show less" or "N earlier updates", and its symbol.
        ToggleTextRole,
        ToggleSymbolRole,
        ExpandedRole,
    };

    // A group shows this many rows while collapsed.
    static constexpr std::size_t collapsedCount = 3;

    // Work that may take a while and reads only what it captured; it returns
    // what to do with its result on the list's thread.
    using Work = std::function<std::function<void()>()>;
    // Runs work somewhere and then its result on the list's thread. Empty:
    // both at once, on the caller's thread.
    using WorkRunner = std::function<void(Work)>;
    // Runs work on Qt's global thread pool and hands the result to the
    // application's event loop (the GUI thread, where lists live); a result
    // for a list destroyed meanwhile is dropped.
    static WorkRunner threadPoolRunner();

    // The model and the executor must outlive the list.
    UpdatesListModel(AppModel& model, OrvelKit::Executor& executor, WorkRunner runner = {},
                     QObject* parent = nullptr);
    ~UpdatesListModel() override;

    // Whether the panel shows: hidden, the model is followed but nothing is
    // recomputed; shown again, it catches up once.
    void setActive(bool active) { follower_.setPaused(!active); }

    Filter filter() const { return filter_; }
    void setFilter(Filter filter);
    QStringList filterTitles() const;
    QString emptyText() const;
    int updateCount() const { return state_.updateCount; }
    bool grouped() const { return state_.grouped; }
    bool ready() const { return ready_; }

    // Expands a collapsed group or collapses an expanded one.
    Q_INVOKABLE void toggleGroup(const QString& groupId);
    // What choosing the item does: a row opens its update, a toggle toggles.
    Q_INVOKABLE void activate(int index);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Starts a recompute now instead of on the next executor turn.
    void recompute();
    // Recomputes when the updates screen is the current destination.
    void follow();

signals:
    void filterChanged();
    void changed();

private:
    struct Group {
        std::string id;
        std::string agent;
        // The rows the filter keeps, in order.
        std::vector<const OrvelKit::AgentRow*> rows;
        bool expanded = false;
    };
    struct Item {
        Kind kind = FlatRow;
        // Set for rows.
        const OrvelKit::AgentRow* row = nullptr;
        // Set for every item of a grouped list.
        const Group* group = nullptr;
    };
    // What the list shows; items point into the triage and the groups.
    struct State {
        OrvelKit::TriagedInbox triage;
        std::unique_ptr<std::vector<Group>> groups = std::make_unique<std::vector<Group>>();
        std::vector<Item> items;
        bool grouped = false;
        int updateCount = 0;
    };

    State build(OrvelKit::TriagedInbox triage, bool grouped) const;
    // Moves to `next`: removes and inserts the items between the unchanged
    // head and tail, then refreshes the values of all.
    void apply(State next);
    void reset(State next);
    static bool sameItem(const Item& a, const Item& b);

    void show(OrvelKit::TriagedInbox triage, bool grouped);

    AppModel& model_;
    WorkRunner runner_;
    // Numbers each triage started; only the newest one is shown.
    std::uint64_t triagesStarted_ = 0;
    Filter filter_ = All;
    std::set<std::string> expandedGroups_;
    State state_;
    bool ready_ = false;
    ModelFollower follower_;
};

} // namespace Orvel
