#pragma once

// What the inbox screen shows, computed at once from the app model: the
// banners, the empty state or the briefing (header, counts, the bounded
// attention, transition and radar lists, the all-clear text), the cards rail
// and the updates link. Qt-free, so it is measured and tested headless.

#include "orvel/core/AppModel.h"
#include "orvel/shell/ThemePalette.h"
#include "orvelkit/presentation/BriefingTexts.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "orvelkit/presentation/SmartBriefing.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel {

// One tile of the cards rail.
struct CardTile {
    std::string id;
    std::string title;
    bool pinned = false;
    // The primary field's label and shown value; empty without fields.
    std::string fieldLabel;
    std::string value;
    // The colour of the value, by the field's tone.
    ThemeColor valueColor = ThemeColor::text;

    bool operator==(const CardTile&) const = default;
};

struct InboxScreenValues {
    // What the screen lists at most; the rest is behind the updates link.
    static constexpr std::size_t attentionLimit = 4;
    static constexpr std::size_t transitionLimit = 2;
    static constexpr std::size_t radarLimit = 2;

    bool showingDevelopmentData = false;
    // Empty: no error banner.
    std::string errorText;
    // No update and no card: only the empty state (and the banners) show.
    bool empty = true;

    OrvelKit::BriefingEyebrow eyebrow;
    std::string headline;
    std::string summary;
    std::size_t attentionCount = 0;
    std::size_t activeCount = 0;
    std::size_t completedCount = 0;
    std::size_t unreadAttentionCount = 0;

    std::vector<CardTile> cards;
    // The first rows of each briefing list, up to its limit.
    std::vector<OrvelKit::AgentRow> attention;
    std::vector<OrvelKit::AgentTransition> transitions;
    std::vector<OrvelKit::AgentRow> radar;
    // Shown instead of the attention rows when there are none.
    std::string allClearText;
    // The trailing text of "What changed".
    std::string scopePhrase;
    // The updates link's detail line.
    std::string updatesDetail;

    bool operator==(const InboxScreenValues&) const = default;
};

// The screen's values for the model's current state (the sample inbox while
// development data is shown). Computes the briefing and the cards once.
InboxScreenValues inboxScreenValues(const AppModel& model);

// The all-clear card's text: "No decisions are waiting" below one completed
// source, else "N agents completed work " and the scope ("since your last
// visit", otherwise "in this briefing").
std::string allClearText(std::size_t completed, OrvelKit::BriefingScope scope);

// The updates link's detail line for the attention rows left out and the
// background updates.
std::string updatesLinkDetail(std::size_t hiddenAttention, std::size_t background);

// A status as a short label: "Needs you", "Running", "Done", "Failed",
// "Info", "Idle".
std::string_view statusLabel(OrvelKit::StatusDot dot);

// A card value's colour by its tone: "success" green, "warning" gold,
// "danger" red, "info" blue, anything else (or none) the text colour.
ThemeColor toneColor(const std::optional<std::string>& tone);

} // namespace Orvel
