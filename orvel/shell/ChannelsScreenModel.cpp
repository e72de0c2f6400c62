#include "orvel/shell/ChannelsScreenModel.h"

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/presentation/TextMatching.h"

#include <algorithm>

namespace Orvel {

namespace {

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isIdle(const OrvelKit::ChannelDescriptor& channel) {
    return channel.activity == OrvelKit::ChannelActivity::idle;
}

} // namespace

ChannelsScreenModel::ChannelsScreenModel(AppModel& model, OrvelKit::Executor& executor,
                                         QObject* parent)
    : QAbstractListModel(parent), model_(model),
      follower_(
          model, executor,
          {ModelField::config, ModelField::inbox, ModelField::now, ModelField::useDevelopmentData},
          [this] { recompute(); }) {
    recompute();
}

ChannelsScreenModel::~ChannelsScreenModel() = default;

void ChannelsScreenModel::setQuery(const QString& query) {
    if (query == query_) {
        return;
    }
    query_ = query;
    filter();
}

void ChannelsScreenModel::setShowsIdle(bool shows) {
    if (shows == showsIdle_) {
        return;
    }
    showsIdle_ = shows;
    filter();
}

void ChannelsScreenModel::clear() {
    query_.clear();
    showsIdle_ = false;
    filter();
}

void ChannelsScreenModel::recompute() {
    all_ = OrvelKit::Presentation::channels(model_.config(), model_.sourceInbox(), model_.now());
    idleCount_ = static_cast<int>(std::count_if(all_.begin(), all_.end(), isIdle));
    filter();
}

void ChannelsScreenModel::filter() {
    const OrvelKit::TextMatcher matcher(query_.toStdString(), model_.calendar().localeId());
    const bool idleShown = showsIdle_ || searching();
    std::vector<OrvelKit::ChannelDescriptor> shown;
    for (const auto& channel : all_) {
        if ((idleShown || !isIdle(channel)) &&
            (matcher.matches(channel.channel) || matcher.matches(channel.name))) {
            shown.push_back(channel);
        }
    }
    const auto sameRows =
        std::equal(shown.begin(), shown.end(), shown_.begin(), shown_.end(),
                   [](const auto& a, const auto& b) { return a.channel == b.channel; });
    if (!sameRows) {
        beginResetModel();
        shown_ = std::move(shown);
        endResetModel();
    } else if (shown != shown_) {
        // The same channels in the same order (a newer "updated 3m ago"):
        // the rows stay, and so does the place the arrow keys reached.
        shown_ = std::move(shown);
        emit dataChanged(index(0), index(rowCount() - 1));
    }
    emit changed();
}

int ChannelsScreenModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant ChannelsScreenModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto& channel = shown_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case ChannelRole:
        return fromStd(channel.channel);
    case NameRole:
        return fromStd(channel.name);
    case DetailRole:
        return fromStd(channel.detail);
    case ActivityRole:
        return fromStd(OrvelKit::Json::text(channel.activity));
    case OwnedRole:
        return channel.owned;
    default:
        return {};
    }
}

QHash<int, QByteArray> ChannelsScreenModel::roleNames() const {
    return {{ChannelRole, "channel"},
            {NameRole, "name"},
            {DetailRole, "detail"},
            {ActivityRole, "activity"},
            {OwnedRole, "owned"}};
}

} // namespace Orvel
