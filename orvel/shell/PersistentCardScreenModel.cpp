#include "orvel/shell/PersistentCardScreenModel.h"

#include "orvelkit/presentation/PresentationHelpers.h"

#include <QVariantMap>

namespace Orvel {

namespace {

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariantMap fieldRow(const OrvelKit::PersistentCardFieldDescriptor& field) {
    return {{QStringLiteral("label"), fromStd(field.label)},
            {QStringLiteral("display"), fromStd(field.display)}};
}

} // namespace

PersistentCardScreenModel::PersistentCardScreenModel(AppModel& model, OrvelKit::Executor& executor,
                                                     QObject* parent)
    : QObject(parent), model_(model),
      follower_(model, executor,
                {ModelField::path, ModelField::inbox, ModelField::now, ModelField::pinnedCardIds,
                 ModelField::useDevelopmentData},
                [this] { recompute(); }) {
    recompute();
}

PersistentCardScreenModel::~PersistentCardScreenModel() = default;

void PersistentCardScreenModel::togglePinned() {
    if (available_) {
        model_.toggleCardPinned(cardId_.toStdString());
    }
}

void PersistentCardScreenModel::recompute() {
    const auto screen = model_.current();
    const auto card = screen.kind == AppScreen::Kind::card ? model_.card(screen.id) : std::nullopt;
    available_ = card.has_value();
    cardId_ = fromStd(screen.kind == AppScreen::Kind::card ? screen.id : std::string());
    fields_.clear();
    if (!card) {
        title_ = subtitle_ = primaryDisplay_ = primaryLabel_ = footer_ = QString();
        pinned_ = metric_ = false;
        emit changed();
        return;
    }
    title_ = fromStd(card->title);
    subtitle_ =
        tr("%1 · updated %2")
            .arg(fromStd(card->channel),
                 fromStd(OrvelKit::Presentation::relativeTime(card->updatedAt, model_.now())));
    pinned_ = model_.pinnedCardIds().contains(card->id);
    const auto primary = card->primaryField();
    const bool isMetricRenderer = card->renderer == "metric";
    metric_ = isMetricRenderer && primary.has_value();
    primaryDisplay_ = metric_ ? fromStd(primary->display) : QString();
    primaryLabel_ = metric_ ? fromStd(primary->label) : QString();
    for (const auto& field : card->fields) {
        // The metric layout shows its primary field above the rows.
        if (metric_ && field.id == primary->id) {
            continue;
        }
        fields_.push_back(fieldRow(field));
    }
    const auto version = QString::number(static_cast<qulonglong>(card->rendererVersion));
    footer_ = isMetricRenderer ? tr("Rendered with metric v%1.").arg(version)
                               : tr("Rendered with the generic labelled-value layout for %1 v%2.")
                                     .arg(fromStd(card->renderer), version);
    emit changed();
}

} // namespace Orvel
