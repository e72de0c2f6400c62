#pragma once

// What the panel's header shows for the current destination, and what its
// buttons do. The QML header only draws this.

#include "orvel/core/AppModel.h"
#include "orvel/core/AppScreen.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel {

enum class HeaderAction { back, markAllRead, newChannel, openActivity, settings };

struct HeaderButton {
    HeaderAction action = HeaderAction::back;
    // The symbol name (see Symbols) and the accessibility label and tooltip.
    std::string symbol;
    std::string label;
    double size = 15;

    bool operator==(const HeaderButton&) const = default;
};

struct HeaderLayout {
    // The back button on the left; present on every pushed screen.
    std::optional<HeaderButton> back;
    // The screen's title, or nothing where the brand mark stands instead.
    std::optional<std::string> title;
    bool showsBrandMark = false;
    // The brand mark's attention dot.
    bool brandNeedsYou = false;
    // Right-aligned buttons, in order.
    std::vector<HeaderButton> trailing;

    bool operator==(const HeaderLayout&) const = default;
};

// The header for `path` (empty: the inbox). `unreadAttentionCount` is the
// smart briefing's; the "Open Activity" button shows only while the expanded
// activity window is enabled.
HeaderLayout headerLayout(const std::vector<AppScreen>& path, bool expandedActivityEnabled,
                          std::size_t unreadAttentionCount);

// Carries out a header button on the model. Back from the new-channel screen
// also forgets the key that screen showed; "Open Activity" asks for the window
// only if the setting is still on at the time of the click.
void performHeaderAction(AppModel& model, HeaderAction action);

// The title of a pushed screen; nothing for the screens that show the brand
// mark instead (detail, welcome, inbox).
std::optional<std::string> screenTitle(AppScreen::Kind kind);

// A name for every destination ("Inbox", "Detail", "New channel", ...).
std::string screenName(AppScreen::Kind kind);

// The destination's key for the views: "inbox", "detail", "engage", ...
std::string_view screenKey(AppScreen::Kind kind);

} // namespace Orvel
