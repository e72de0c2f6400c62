#include "orvel/shell/InboxScreenValues.h"

#include <algorithm>

namespace Orvel {

using namespace OrvelKit;

namespace {

template <typename List>
std::vector<typename List::value_type> firstOf(const List& list, std::size_t limit) {
    const auto count = std::min(list.size(), limit);
    return std::vector<typename List::value_type>(list.begin(),
                                                  list.begin() + static_cast<long>(count));
}

bool holdsNoUpdate(const Inbox& inbox) {
    return std::all_of(inbox.channels().begin(), inbox.channels().end(),
                       [](const ChannelInbox& channel) { return channel.notifications().empty(); });
}

CardTile tileOf(const PersistentCardDescriptor& card, const std::set<std::string>& pinned) {
    CardTile tile{card.id, card.title, pinned.contains(card.id), {}, {}, ThemeColor::text};
    if (const auto field = card.primaryField()) {
        tile.fieldLabel = field->label;
        tile.value = field->display;
        tile.valueColor = toneColor(field->tone);
    }
    return tile;
}

} // namespace

InboxScreenValues inboxScreenValues(const AppModel& model) {
    InboxScreenValues values;
    values.showingDevelopmentData = model.isShowingDevelopmentData();
    values.errorText = model.lastError().value_or("");

    const auto cards = model.persistentCards();
    values.cards.reserve(cards.size());
    for (const auto& card : cards) {
        values.cards.push_back(tileOf(card, model.pinnedCardIds()));
    }
    values.empty = cards.empty() && holdsNoUpdate(model.sourceInbox());
    if (values.empty) {
        return values;
    }

    const auto briefing = model.smartBriefing();
    values.eyebrow = Presentation::briefingEyebrow(briefing.period);
    values.headline = Presentation::briefingHeadline(briefing);
    values.summary = Presentation::briefingSummary(briefing);
    values.attentionCount = briefing.attention.size();
    values.activeCount = briefing.activeCount;
    values.completedCount = briefing.completedCount;
    values.unreadAttentionCount = briefing.unreadAttentionCount();
    values.attention = firstOf(briefing.attention, InboxScreenValues::attentionLimit);
    values.transitions = firstOf(briefing.transitions, InboxScreenValues::transitionLimit);
    values.radar = firstOf(briefing.onRadar, InboxScreenValues::radarLimit);
    values.allClearText = allClearText(briefing.completedCount, briefing.scope);
    values.scopePhrase = Presentation::briefingScopePhrase(briefing.scope);
    const auto hidden = briefing.attention.size() > InboxScreenValues::attentionLimit
                            ? briefing.attention.size() - InboxScreenValues::attentionLimit
                            : 0;
    values.updatesDetail = updatesLinkDetail(hidden, briefing.backgroundCount);
    return values;
}

std::string allClearText(std::size_t completed, BriefingScope scope) {
    if (completed < 1) {
        return "No decisions are waiting";
    }
    return std::to_string(completed) + " agents completed work " +
           (scope == BriefingScope::sinceLastVisit ? "since your last visit" : "in this briefing");
}

std::string updatesLinkDetail(std::size_t hiddenAttention, std::size_t background) {
    const auto hidden = std::to_string(hiddenAttention) + " more needing attention";
    if (hiddenAttention < 1) {
        return background < 1 ? "Chronological history"
                              : std::to_string(background) + " background updates";
    }
    return background < 1 ? hidden : hidden + " · " + std::to_string(background) + " background";
}

std::string_view statusLabel(StatusDot dot) {
    switch (dot) {
    case StatusDot::need:
        return "Needs you";
    case StatusDot::running:
        return "Running";
    case StatusDot::done:
        return "Done";
    case StatusDot::failed:
        return "Failed";
    case StatusDot::info:
        return "Info";
    case StatusDot::idle:
        return "Idle";
    }
    return "Info";
}

ThemeColor toneColor(const std::optional<std::string>& tone) {
    if (tone == "success") {
        return ThemeColor::green;
    }
    if (tone == "warning") {
        return ThemeColor::gold;
    }
    if (tone == "danger") {
        return ThemeColor::red;
    }
    if (tone == "info") {
        return ThemeColor::blue;
    }
    return ThemeColor::text;
}

} // namespace Orvel
