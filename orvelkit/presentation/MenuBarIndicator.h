#pragma once

// The indicator of the status-bar item: how many unread items need the user
// and how urgently, and the accessibility text that describes it.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <optional>
#include <string>

namespace OrvelKit {

enum class MenuBarEmphasis { normal, high, critical };

struct MenuBarIndicator {
    MenuBarEmphasis emphasis = MenuBarEmphasis::normal;
    // The number of unread attention items, "99+" above 99; absent when none.
    std::optional<std::string> attentionBadge;

    bool operator==(const MenuBarIndicator&) const = default;
};

namespace Presentation {

// From the unread attention rows of the smart briefing at `now` (without a
// last visit): none gives `normal` and no badge; otherwise `critical` when an
// update with one of their ids is critical, else `high`. The first form uses
// the user's current calendar.
MenuBarIndicator menuBarIndicator(const Inbox& inbox, Date now);
MenuBarIndicator menuBarIndicator(const Inbox& inbox, Date now, const Calendar& calendar);

// The status item's accessibility text: "Orvel, nothing needs attention",
// "Orvel, 3 items need attention", or "Orvel, 3 items need attention,
// including critical".
std::string statusItemAccessibilityLabel(const MenuBarIndicator& indicator);

} // namespace Presentation
} // namespace OrvelKit
