#include "orvel/shell/UpdatesListModel.h"

#include "orvelkit/presentation/Triage.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <algorithm>

namespace Orvel {

namespace {

OrvelKit::UpdateFilter kitFilter(UpdatesListModel::Filter filter) {
    return OrvelKit::allUpdateFilters[static_cast<std::size_t>(filter)];
}

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

UpdatesListModel::WorkRunner UpdatesListModel::threadPoolRunner() {
    return [](Work work) {
        QThreadPool::globalInstance()->start([work = std::move(work)] {
            if (auto* application = QCoreApplication::instance()) {
                QMetaObject::invokeMethod(application, work(), Qt::QueuedConnection);
            }
        });
    };
}

UpdatesListModel::UpdatesListModel(AppModel& model, OrvelKit::Executor& executor, WorkRunner runner,
                                   QObject* parent)
    : QAbstractListModel(parent), model_(model), runner_(std::move(runner)),
      follower_(model, executor,
                {ModelField::inbox, ModelField::now, ModelField::useDevelopmentData,
                 ModelField::groupActivityUpdates, ModelField::path},
                [this] { follow(); }) {
    follow();
}

UpdatesListModel::~UpdatesListModel() = default;

void UpdatesListModel::setFilter(Filter filter) {
    if (filter == filter_ || filter < All || filter > Failed) {
        return;
    }
    filter_ = filter;
    reset(build(state_.triage, state_.grouped));
    emit filterChanged();
    emit changed();
}

QStringList UpdatesListModel::filterTitles() const {
    QStringList titles;
    for (const auto filter : OrvelKit::allUpdateFilters) {
        titles.push_back(tr(std::string(OrvelKit::title(filter)).c_str()));
    }
    return titles;
}

QString UpdatesListModel::emptyText() const {
    switch (filter_) {
    case All:
        return tr("No activity updates");
    case Unread:
        return tr("No unread updates");
    case NeedsYou:
        return tr("No needs-you updates");
    case Running:
        return tr("No running updates");
    case Failed:
        return tr("No failed updates");
    }
    return {};
}

void UpdatesListModel::toggleGroup(const QString& groupId) {
    const auto id = groupId.toStdString();
    if (!expandedGroups_.erase(id)) {
        expandedGroups_.insert(id);
    }
    if (state_.grouped) {
        apply(build(state_.triage, true));
    }
}

void UpdatesListModel::activate(int index) {
    if (index < 0 || index >= rowCount()) {
        return;
    }
    const auto& item = state_.items[static_cast<std::size_t>(index)];
    if (item.row) {
        model_.open(AppScreen::detail(item.row->id));
    } else if (item.kind == GroupToggle) {
        toggleGroup(QString::fromStdString(item.group->id));
    }
}

void UpdatesListModel::follow() {
    if (model_.current().kind == AppScreen::Kind::updates) {
        recompute();
    }
}

void UpdatesListModel::recompute() {
    const auto started = ++triagesStarted_;
    const bool grouped = model_.groupActivityUpdates();
    auto work = [list = QPointer<UpdatesListModel>(this), started, grouped,
                 inbox = model_.sourceInboxSnapshot(),
                 now = model_.now()]() -> std::function<void()> {
        auto triage =
            std::make_shared<OrvelKit::TriagedInbox>(OrvelKit::Presentation::triaged(*inbox, now));
        // Runs on the list's thread, where the list may be gone by then.
        return [list, started, grouped, triage] {
            if (list && started == list->triagesStarted_) {
                list->show(std::move(*triage), grouped);
            }
        };
    };
    if (runner_) {
        runner_(std::move(work));
    } else {
        work()();
    }
}

void UpdatesListModel::show(OrvelKit::TriagedInbox triage, bool grouped) {
    auto next = build(std::move(triage), grouped);
    if (next.grouped != state_.grouped) {
        reset(std::move(next));
    } else {
        apply(std::move(next));
    }
    ready_ = true;
    emit changed();
}

UpdatesListModel::State UpdatesListModel::build(OrvelKit::TriagedInbox triage, bool grouped) const {
    State next;
    next.triage = std::move(triage);
    next.grouped = grouped;
    const auto filter = kitFilter(filter_);
    const auto& rows = next.triage.rows;
    if (!grouped) {
        for (const auto& row : rows) {
            if (OrvelKit::includes(filter, row)) {
                next.items.push_back(Item{FlatRow, &row, nullptr});
            }
        }
        next.updateCount = static_cast<int>(next.items.size());
        return next;
    }
    auto& groups = *next.groups;
    groups.reserve(next.triage.activityGroups.size());
    for (const auto& source : next.triage.activityGroups) {
        Group group{source.id, source.agent, {}, expandedGroups_.contains(source.id)};
        for (const auto& row : source.rows) {
            if (OrvelKit::includes(filter, row)) {
                group.rows.push_back(&row);
            }
        }
        if (!group.rows.empty()) {
            groups.push_back(std::move(group));
        }
    }
    for (const auto& group : groups) {
        next.updateCount += static_cast<int>(group.rows.size());
        next.items.push_back(Item{GroupHeader, nullptr, &group});
        const auto shown =
            group.expanded ? group.rows.size() : std::min(group.rows.size(), collapsedCount);
        for (std::size_t i = 0; i < shown; ++i) {
            next.items.push_back(Item{GroupedRow, group.rows[i], &group});
        }
        if (group.rows.size() > collapsedCount) {
            next.items.push_back(Item{GroupToggle, nullptr, &group});
        }
    }
    return next;
}

bool UpdatesListModel::sameItem(const Item& a, const Item& b) {
    if (a.kind != b.kind) {
        return false;
    }
    if (a.row) {
        return b.row && a.row->id == b.row->id;
    }
    return a.group && b.group && a.group->id == b.group->id;
}

void UpdatesListModel::apply(State next) {
    const auto& before = state_.items;
    const auto& after = next.items;
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && sameItem(before[head], after[head])) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           sameItem(before[before.size() - 1 - tail], after[after.size() - 1 - tail])) {
        ++tail;
    }
    const auto removed = before.size() - head - tail;
    const auto inserted = after.size() - head - tail;
    // The items still point into the storage they were built over, so the
    // old state stays alive until the view has seen the change.
    State previous = std::move(state_);
    state_.items = previous.items;
    if (removed > 0) {
        beginRemoveRows({}, static_cast<int>(head), static_cast<int>(head + removed - 1));
        state_.items.erase(state_.items.begin() + static_cast<std::ptrdiff_t>(head),
                           state_.items.begin() + static_cast<std::ptrdiff_t>(head + removed));
        endRemoveRows();
    }
    if (inserted > 0) {
        beginInsertRows({}, static_cast<int>(head), static_cast<int>(head + inserted - 1));
    }
    state_ = std::move(next);
    if (inserted > 0) {
        endInsertRows();
    }
    if (!state_.items.empty()) {
        emit dataChanged(index(0), index(rowCount() - 1));
    }
}

void UpdatesListModel::reset(State next) {
    beginResetModel();
    State previous = std::move(state_);
    state_ = std::move(next);
    endResetModel();
}

int UpdatesListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(state_.items.size());
}

QVariant UpdatesListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) {
        return {};
    }
    const auto& item = state_.items[static_cast<std::size_t>(index.row())];
    const auto* row = item.row;
    const auto* group = item.group;
    switch (role) {
    case KindRole:
        return static_cast<int>(item.kind);
    case RowIdRole:
        return row ? QString::fromStdString(row->id) : QString();
    case AgentRole:
        return row     ? QString::fromStdString(row->agent)
               : group ? QString::fromStdString(group->agent)
                       : QString();
    case Qt::DisplayRole:
    case SummaryRole:
        return row ? QString::fromStdString(row->summary) : QString();
    case AgeRole:
        return row ? QString::fromStdString(row->relativeTime) : QString();
    case DotRole: {
        const auto name = row ? OrvelKit::Json::text(row->dot) : std::string_view("info");
        return name.empty() ? QStringLiteral("info") : fromStd(name);
    }
    case FailedRole:
        return row && row->dot == OrvelKit::StatusDot::failed;
    case GroupIdRole:
        return group ? QString::fromStdString(group->id) : QString();
    case GroupCountRole:
        return group && group->rows.size() >= 2
                   ? tr("%1 updates").arg(static_cast<qulonglong>(group->rows.size()))
                   : QString();
    case ToggleTextRole:
        if (!group || group->rows.size() <= collapsedCount) {
            return QString();
        }
        return group->expanded
                   ? tr("Show less")
                   : tr("%1 earlier updates")
                         .arg(static_cast<qulonglong>(group->rows.size() - collapsedCount));
    case ToggleSymbolRole:
        return group && group->expanded ? QStringLiteral("chevron.up")
                                        : QStringLiteral("chevron.down");
    case ExpandedRole:
        return group && group->expanded;
    default:
        return {};
    }
}

QHash<int, QByteArray> UpdatesListModel::roleNames() const {
    return {{KindRole, "kind"},
            {RowIdRole, "rowId"},
            {AgentRole, "agent"},
            {SummaryRole, "summary"},
            {AgeRole, "age"},
            {DotRole, "dot"},
            {FailedRole, "failed"},
            {GroupIdRole, "groupId"},
            {GroupCountRole, "groupCount"},
            {ToggleTextRole, "toggleText"},
            {ToggleSymbolRole, "toggleSymbol"},
            {ExpandedRole, "expanded"}};
}

} // namespace Orvel
