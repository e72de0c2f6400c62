#include "orvel/shell/ActivityWindowValues.h"

#include "orvelkit/presentation/TextMatching.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace Orvel {

namespace {

using OrvelKit::ActivityItemDescriptor;
using OrvelKit::StatusDot;

bool needsYou(StatusDot dot) {
    return dot == StatusDot::need || dot == StatusDot::failed;
}

// The search over items: agents repeat across thousands of items, so each
// agent text is matched once per query.
class ItemMatcher {
public:
    ItemMatcher(const ActivityFilter& filter, std::string_view localeId)
        : channel_(filter.channel), text_(filter.query, localeId), all_(filter.query.empty()) {}

    bool keeps(const ActivityItemDescriptor& item) {
        if (!channel_.empty() && item.channel != channel_) {
            return false;
        }
        if (all_) {
            return true;
        }
        auto [known, added] = agents_.try_emplace(item.agent, false);
        if (added) {
            known->second = text_.matches(item.agent);
        }
        return known->second || text_.matches(item.summary);
    }

    bool keeps(const OrvelKit::PersistentCardDescriptor& card) const {
        if (!channel_.empty() && card.channel != channel_) {
            return false;
        }
        if (all_ || text_.matches(card.title)) {
            return true;
        }
        return std::any_of(card.fields.begin(), card.fields.end(), [this](const auto& field) {
            return text_.matches(field.label) || text_.matches(field.display);
        });
    }

private:
    std::string_view channel_;
    OrvelKit::TextMatcher text_;
    bool all_;
    std::unordered_map<std::string_view, bool> agents_;
};

} // namespace

ActivitySource ActivitySource::from(const AppModel& model) {
    namespace P = OrvelKit::Presentation;
    const auto& inbox = model.sourceInbox();
    ActivitySource source;
    source.now = model.now();
    source.days = P::activityDays(inbox, source.now, model.calendar());
    source.cards = model.persistentCards();
    source.pinnedCardIds = model.pinnedCardIds();
    source.channels = P::channels(model.config(), inbox, source.now);

    // The briefing's rows carry no channel; the timeline's items do.
    const auto attention = model.smartBriefing().attention;
    std::unordered_map<std::string_view, const ActivityItemDescriptor*> items;
    for (const auto& row : attention) {
        items.emplace(row.id, nullptr);
    }
    for (const auto& day : source.days) {
        for (const auto& item : day.items) {
            if (auto found = items.find(item.id); found != items.end()) {
                found->second = &item;
            }
        }
    }
    source.attention.reserve(attention.size());
    for (const auto& row : attention) {
        const auto* item = items[row.id];
        ActivityItemDescriptor entry;
        entry.id = row.id;
        entry.channel = item ? item->channel : std::string();
        if (!item) {
            if (const auto note = model.note(row.id)) {
                entry.channel = note->channel;
            }
        }
        entry.agent = row.agent;
        entry.summary = row.summary;
        entry.createdAt = item ? item->createdAt : OrvelKit::Date();
        entry.relativeTime = row.relativeTime;
        entry.dot = row.dot;
        entry.isUnread = row.isUnread;
        source.attention.push_back(std::move(entry));
    }
    return source;
}

const OrvelKit::ActivityDayDescriptor* ActivitySource::day(OrvelKit::Date date) const {
    // Newest day first.
    const auto found =
        std::lower_bound(days.begin(), days.end(), date,
                         [](const auto& day, OrvelKit::Date wanted) { return day.date > wanted; });
    return found != days.end() && found->date == date ? &*found : nullptr;
}

ActivityDestination ActivitySource::initialDestination() const {
    return days.empty() ? ActivityDestination{} : ActivityDestination::ofDay(days.front().date);
}

ActivityPane activityPane(const ActivitySource& source, const ActivityDestination& destination,
                          const ActivityFilter& filter, std::string_view localeId) {
    ActivityPane pane;
    if (!filter.channel.empty()) {
        const auto named = std::find_if(source.channels.begin(), source.channels.end(),
                                        [&](const auto& c) { return c.channel == filter.channel; });
        if (named != source.channels.end()) {
            pane.scope = named->name;
        }
    }
    ItemMatcher matcher(filter, localeId);
    using Kind = ActivityDestination::Kind;
    switch (destination.kind) {
    case Kind::attention:
        for (const auto& item : source.attention) {
            if (matcher.keeps(item)) {
                pane.needsYou.push_back(&item);
            }
        }
        pane.count = pane.needsYou.size();
        if (source.days.empty() && source.attention.empty()) {
            pane.emptyState = ActivityEmptyState::noActivity;
        } else if (pane.needsYou.empty()) {
            pane.emptyState = ActivityEmptyState::nothingNeedsYou;
        }
        break;
    case Kind::cards:
        for (const auto& card : source.cards) {
            if (matcher.keeps(card)) {
                pane.cards.push_back(&card);
            }
        }
        pane.count = pane.cards.size();
        if (pane.cards.empty()) {
            pane.emptyState = ActivityEmptyState::noCardsMatch;
        }
        break;
    case Kind::day: {
        const auto* day = source.day(destination.day);
        if (!day) {
            pane.emptyState = source.days.empty() ? ActivityEmptyState::noActivity
                                                  : ActivityEmptyState::dayUnavailable;
            break;
        }
        for (const auto& item : day->items) {
            if (!matcher.keeps(item)) {
                continue;
            }
            (needsYou(item.dot) ? pane.needsYou : pane.others).push_back(&item);
            pane.completed += item.dot == StatusDot::done ? 1 : 0;
            pane.running += item.dot == StatusDot::running ? 1 : 0;
        }
        pane.count = pane.needsYou.size() + pane.others.size();
        pane.showsMetrics = true;
        if (pane.count == 0) {
            pane.emptyState = ActivityEmptyState::noActivityMatches;
        }
        break;
    }
    }
    return pane;
}

RelativeDay relativeDay(OrvelKit::Date day, OrvelKit::Date now,
                        const OrvelKit::Calendar& calendar) {
    const auto today = calendar.startOfDay(now);
    const auto start = calendar.startOfDay(day);
    if (start == today) {
        return RelativeDay::today;
    }
    return calendar.addingDays(-1, today) == start ? RelativeDay::yesterday : RelativeDay::other;
}

std::string localeDayText(OrvelKit::Date day, const OrvelKit::Calendar& calendar) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createInstanceForSkeleton(
        icu::UnicodeString(u"EEEMMMd"), icu::Locale(calendar.localeId().c_str()), status));
    if (U_FAILURE(status) || !format) {
        return {};
    }
    format->adoptTimeZone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(calendar.timeZoneId())));
    icu::UnicodeString text;
    format->format(static_cast<UDate>(day.microsecondsSinceEpoch() / 1000), text);
    std::string label;
    text.toUTF8String(label);
    return label;
}

} // namespace Orvel
