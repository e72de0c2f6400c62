#include "orvelkit/presentation/MenuBarIndicator.h"

#include "orvelkit/presentation/InboxRows.h"
#include "orvelkit/presentation/SmartBriefing.h"

#include <string_view>
#include <unordered_set>

namespace OrvelKit::Presentation {

MenuBarIndicator menuBarIndicator(const Inbox& inbox, Date now) {
    return menuBarIndicator(inbox, now, Calendar::current());
}

MenuBarIndicator menuBarIndicator(const Inbox& inbox, Date now, const Calendar& calendar) {
    const SmartBriefing briefing = smartBriefing(inbox, now, std::nullopt, calendar);
    std::unordered_set<std::string_view> unreadIds;
    for (const AgentRow& row : briefing.attention) {
        if (row.isUnread) {
            unreadIds.insert(row.id);
        }
    }
    // Rows of distinct sources may share an id; each row counts.
    const std::size_t unreadRows = briefing.unreadAttentionCount();
    if (unreadRows == 0) {
        return {};
    }

    MenuBarIndicator indicator{.emphasis = MenuBarEmphasis::high,
                               .attentionBadge = countBadge(unreadRows)};
    for (const ChannelInbox& channel : inbox.channels()) {
        for (const OrvelProtocol::Notification& notification : channel.notifications()) {
            if (notification.urgency == OrvelProtocol::Urgency::critical &&
                unreadIds.count(notification.id) != 0) {
                indicator.emphasis = MenuBarEmphasis::critical;
                return indicator;
            }
        }
    }
    return indicator;
}

std::string statusItemAccessibilityLabel(const MenuBarIndicator& indicator) {
    if (!indicator.attentionBadge || indicator.emphasis == MenuBarEmphasis::normal) {
        return "Orvel, nothing needs attention";
    }
    std::string label = "Orvel, " + *indicator.attentionBadge + " items need attention";
    if (indicator.emphasis == MenuBarEmphasis::critical) {
        label += ", including critical";
    }
    return label;
}

} // namespace OrvelKit::Presentation
