#include "orvel/shell/ExpandedActivityModel.h"

#include "orvelkit/presentation/PresentationHelpers.h"

#include <QLocale>
#include <algorithm>

namespace Orvel {

namespace {

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariantMap metric(const QString& label, std::size_t value) {
    return {{QStringLiteral("label"), label},
            {QStringLiteral("value"), static_cast<qulonglong>(value)}};
}

// The accessible name of a channel's activity dot.
QString activityName(OrvelKit::ChannelActivity activity) {
    using OrvelKit::ChannelActivity;
    switch (activity) {
    case ChannelActivity::pending:
        return ExpandedActivityModel::tr("Pending");
    case ChannelActivity::active:
        return ExpandedActivityModel::tr("Active");
    case ChannelActivity::quiet:
        return ExpandedActivityModel::tr("Quiet");
    case ChannelActivity::idle:
        break;
    }
    return ExpandedActivityModel::tr("Idle");
}

ActivityCardListModel::Card dashboardCard(const OrvelKit::PersistentCardDescriptor& card,
                                          const ActivitySource& source) {
    ActivityCardListModel::Card shown;
    shown.id = fromStd(card.id);
    shown.title = fromStd(card.title);
    shown.pinned = source.pinnedCardIds.contains(card.id);
    const auto primary = card.primaryField();
    shown.metric = card.renderer == "metric" && primary.has_value();
    if (shown.metric) {
        shown.primaryDisplay = fromStd(primary->display);
        shown.primaryLabel = fromStd(primary->label);
    }
    for (const auto& field : card.fields) {
        // The metric layout shows its primary field above the rows.
        if (shown.metric && field.id == primary->id) {
            continue;
        }
        shown.fields.push_back(QVariantMap{{QStringLiteral("label"), fromStd(field.label)},
                                           {QStringLiteral("display"), fromStd(field.display)}});
    }
    shown.footer =
        ExpandedActivityModel::tr("Updated %1 ago")
            .arg(fromStd(OrvelKit::Presentation::relativeTime(card.updatedAt, source.now)));
    return shown;
}

QVariantMap cardMap(const ActivityCardListModel::Card& card, const QString& channel) {
    return {{QStringLiteral("cardId"), card.id},
            {QStringLiteral("title"), card.title},
            {QStringLiteral("channel"), channel},
            {QStringLiteral("pinned"), card.pinned},
            {QStringLiteral("metric"), card.metric},
            {QStringLiteral("primaryDisplay"), card.primaryDisplay},
            {QStringLiteral("primaryLabel"), card.primaryLabel},
            {QStringLiteral("fields"), card.fields},
            {QStringLiteral("footer"), card.footer}};
}

} // namespace

ExpandedActivityModel::ExpandedActivityModel(AppModel& model, OrvelKit::Executor& executor,
                                             QObject* parent)
    : QObject(parent), model_(model),
      follower_(model, executor,
                {ModelField::inbox, ModelField::config, ModelField::now,
                 ModelField::briefingBaseline, ModelField::pinnedCardIds,
                 ModelField::useDevelopmentData},
                [this] { recompute(); }) {}

ExpandedActivityModel::~ExpandedActivityModel() = default;

void ExpandedActivityModel::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    if (!active_) {
        return;
    }
    recompute();
}

ExpandedActivityModel::Destination ExpandedActivityModel::destination() const {
    if (!destination_) {
        return Attention;
    }
    switch (destination_->kind) {
    case ActivityDestination::Kind::day:
        return Day;
    case ActivityDestination::Kind::cards:
        return Cards;
    case ActivityDestination::Kind::attention:
        break;
    }
    return Attention;
}

void ExpandedActivityModel::recompute() {
    // A hidden window reads nothing; it reads once when shown again.
    if (!active_) {
        return;
    }
    source_ = std::make_shared<const ActivitySource>(ActivitySource::from(model_));
    if (!destination_) {
        destination_ = source_->initialDestination();
    }
    attentionCount_ = static_cast<int>(source_->attention.size());
    cardCount_ = static_cast<int>(source_->cards.size());
    rebuildSheets();
    rebuildPane();
}

void ExpandedActivityModel::setDestination(ActivityDestination destination) {
    destination_ = destination;
    rebuildPane();
}

void ExpandedActivityModel::selectAttention() {
    setDestination({ActivityDestination::Kind::attention, {}});
}

void ExpandedActivityModel::selectCards() {
    setDestination({ActivityDestination::Kind::cards, {}});
}

void ExpandedActivityModel::selectDay(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < source_->days.size()) {
        setDestination(ActivityDestination::ofDay(source_->days[index].date));
    }
}

void ExpandedActivityModel::selectChannel(const QString& channel) {
    filter_.channel = channel.toStdString();
    rebuildPane();
}

void ExpandedActivityModel::setQuery(const QString& query) {
    if (query == query_) {
        return;
    }
    query_ = query;
    filter_.query = query.toStdString();
    rebuildPane();
}

void ExpandedActivityModel::markAllRead() {
    model_.markAllRead();
}

QString ExpandedActivityModel::dayLabel(OrvelKit::Date day) const {
    const auto& calendar = model_.calendar();
    switch (relativeDay(day, source_->now, calendar)) {
    case RelativeDay::today:
        return tr("Today");
    case RelativeDay::yesterday:
        return tr("Yesterday");
    case RelativeDay::other:
        break;
    }
    return fromStd(localeDayText(day, calendar));
}

void ExpandedActivityModel::rebuildSidebar() {
    std::vector<ActivitySidebarListModel::Entry> days;
    days.reserve(source_->days.size());
    for (std::size_t i = 0; i < source_->days.size(); ++i) {
        const auto& day = source_->days[i];
        ActivitySidebarListModel::Entry entry;
        entry.key = QString::number(i);
        entry.label = dayLabel(day.date);
        entry.symbol = QStringLiteral("calendar");
        entry.count = static_cast<int>(day.items.size());
        entry.selected = destination_ && *destination_ == ActivityDestination::ofDay(day.date);
        days.push_back(std::move(entry));
    }
    days_.setEntries(std::move(days));

    std::vector<ActivitySidebarListModel::Entry> channels;
    channels.reserve(source_->channels.size() + 1);
    channels.push_back({QString(), tr("All channels"), QStringLiteral("tray.full"), QString(),
                        QString(), -1, filter_.channel.empty()});
    for (const auto& channel : source_->channels) {
        channels.push_back({fromStd(channel.channel), fromStd(channel.name), QString(),
                            fromStd(OrvelKit::Json::text(channel.activity)),
                            activityName(channel.activity), -1,
                            channel.channel == filter_.channel});
    }
    channels_.setEntries(std::move(channels));
}

void ExpandedActivityModel::rebuildPane() {
    if (!destination_) {
        return;
    }
    const auto pane = activityPane(*source_, *destination_, filter_, model_.calendar().localeId());
    const auto scope = pane.scope.empty() ? tr("All channels") : fromStd(pane.scope);
    const auto count = QString::number(static_cast<qulonglong>(pane.count));
    caption_.clear();
    switch (destination_->kind) {
    case ActivityDestination::Kind::attention:
        title_ = tr("Needs you");
        subtitle_ = tr("%1 items · %2").arg(count, scope);
        heading_ = tr("Needs your attention");
        caption_ = tr("Requests and failures that still need your attention.");
        break;
    case ActivityDestination::Kind::cards:
        title_ = tr("Cards");
        subtitle_ = tr("%1 live cards · %2").arg(count, scope);
        heading_ = tr("Cards");
        caption_ = tr("Live, durable views maintained by your agents.");
        break;
    case ActivityDestination::Kind::day:
        title_ = tr("Activity");
        subtitle_ = tr("%1 updates · %2").arg(count, scope);
        heading_ = tr("Activity");
        caption_ = dayLabel(destination_->day);
        break;
    }
    switch (pane.emptyState) {
    case ActivityEmptyState::none:
        emptyText_.clear();
        emptySymbol_.clear();
        break;
    case ActivityEmptyState::nothingNeedsYou:
        emptyText_ = tr("Nothing needs you");
        emptySymbol_ = QStringLiteral("checkmark.circle");
        break;
    case ActivityEmptyState::noCardsMatch:
        emptyText_ = tr("No cards match these filters");
        emptySymbol_ = QStringLiteral("rectangle.grid.2x2");
        break;
    case ActivityEmptyState::noActivityMatches:
        emptyText_ = tr("No background activity matches these filters");
        emptySymbol_ = QStringLiteral("magnifyingglass");
        break;
    case ActivityEmptyState::dayUnavailable:
        emptyText_ = tr("That day is no longer available");
        emptySymbol_ = QStringLiteral("calendar.badge.exclamationmark");
        break;
    case ActivityEmptyState::noActivity:
        emptyText_ = tr("No activity yet");
        emptySymbol_ = QStringLiteral("tray");
        break;
    }
    showsMetrics_ = pane.showsMetrics && pane.emptyState == ActivityEmptyState::none;
    metrics_.clear();
    if (showsMetrics_) {
        metrics_ = {metric(tr("Updates"), pane.count), metric(tr("Need you"), pane.needsYou.size()),
                    metric(tr("Completed"), pane.completed), metric(tr("Running"), pane.running)};
    }
    rows_.setRows(source_, pane.needsYou, pane.others);
    std::vector<ActivityCardListModel::Card> cards;
    cards.reserve(pane.cards.size());
    for (const auto* card : pane.cards) {
        cards.push_back(dashboardCard(*card, *source_));
    }
    cards_.setCards(std::move(cards));
    rebuildSidebar();
    emit changed();
}

void ExpandedActivityModel::openUpdate(int row) {
    const auto* item = rows_.item(row);
    if (!item) {
        return;
    }
    selectedCard_.reset();
    selectedUpdate_ = *item;
    rebuildSheets();
}

void ExpandedActivityModel::openCard(const QString& id) {
    selectedUpdate_.reset();
    selectedCard_ = id.toStdString();
    rebuildSheets();
}

void ExpandedActivityModel::closeSheet() {
    if (!selectedUpdate_ && !selectedCard_) {
        return;
    }
    selectedUpdate_.reset();
    selectedCard_.reset();
    sheetCard_.clear();
    emit sheetChanged();
}

void ExpandedActivityModel::completeAttention() {
    if (selectedUpdate_ && updateNeedsYou_) {
        model_.completeAttention(selectedUpdate_->id);
    }
}

void ExpandedActivityModel::rebuildSheets() {
    if (selectedUpdate_) {
        const auto& item = *selectedUpdate_;
        updateDot_ = fromStd(OrvelKit::Json::text(item.dot));
        updateBadge_ = ActivityRowListModel::badge(item.dot);
        updateAgent_ = fromStd(item.agent);
        updateSummary_ = fromStd(item.summary);
        updateAge_ = fromStd(item.relativeTime);
        updateBody_.clear();
        updateDetails_.clear();
        updateLinks_.clear();
        if (const auto note = model_.note(item.id)) {
            updateAge_ =
                fromStd(OrvelKit::Presentation::relativeTime(note->createdAt, model_.now()));
            updateBody_ = note->body ? fromStd(*note->body) : QString();
            updateDetails_ = note->details ? fromStd(*note->details) : QString();
            for (const auto& link : note->links) {
                // Only what parses as an http or https address is offered.
                if (const auto url = OrvelKit::Presentation::webURL(link.url)) {
                    updateLinks_.push_back(
                        QVariantMap{{QStringLiteral("label"), fromStd(link.label)},
                                    {QStringLiteral("url"), fromStd(*url)}});
                }
            }
        }
        const auto& attention = source_->attention;
        updateNeedsYou_ = std::any_of(attention.begin(), attention.end(),
                                      [&](const auto& entry) { return entry.id == item.id; });
    }
    if (selectedCard_) {
        const auto& cards = source_->cards;
        const auto card = std::find_if(cards.begin(), cards.end(),
                                       [&](const auto& c) { return c.id == *selectedCard_; });
        // A card gone meanwhile keeps showing as it was last seen.
        if (card != cards.end()) {
            sheetCard_ = cardMap(dashboardCard(*card, *source_), fromStd(card->channel));
        }
    }
    emit sheetChanged();
}

} // namespace Orvel
