#pragma once

// What orvelctl reports, gathered from the app model through the same
// presentation functions the desktop screens use. TextReports and
// JsonReports write these values; nothing here decides anything of its own.

#include "orvel/core/AppModel.h"
#include "orvelkit/presentation/AgentRow.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/presentation/InboxRows.h"
#include "orvelkit/presentation/MenuBarIndicator.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "orvelkit/presentation/SmartBriefing.h"
#include "orvelkit/presentation/UpdateFilter.h"
#include "orvelkit/protocol/Notification.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Orvel::Cli {

struct StatusReport {
    std::string server;
    bool paired = false;
    std::optional<std::string> accountId;
    std::size_t channels = 0;
    std::size_t ownedChannels = 0;
    std::size_t updates = 0;
    std::size_t unread = 0;
    // Items that need attention, and how many of them are unread.
    std::size_t attention = 0;
    std::size_t unreadAttention = 0;
    OrvelKit::MenuBarEmphasis emphasis = OrvelKit::MenuBarEmphasis::normal;
    // False for --offline: nothing was sent, so there is no error to tell.
    bool checked = true;
    std::optional<std::string> lastError;
};

struct SyncReport {
    OrvelKit::SmartBriefing briefing;
    std::size_t updates = 0;
    std::size_t unread = 0;
    std::optional<std::string> error;
};

struct UpdatesReport {
    OrvelKit::UpdateFilter filter = OrvelKit::UpdateFilter::all;
    std::vector<OrvelKit::AgentRow> rows;
};

// One update in full, as the detail screen shows it.
struct UpdateDetail {
    OrvelProtocol::Notification note;
    OrvelKit::AgentRow row;
    OrvelKit::InboxRowDescriptor descriptor;
    bool dismissed = false;
    // It is among the smart briefing's attention rows: "Done" would clear it.
    bool needsAttention = false;
    // When a deferred update surfaces, if it is still held back.
    std::optional<OrvelKit::Date> surfacesAt;
};

struct CardsReport {
    std::vector<OrvelKit::PersistentCardDescriptor> cards;
    std::set<std::string> pinned;
};

// The inbox the user sees: the sample while development data is shown.
StatusReport statusReport(const AppModel& model, bool checked);
SyncReport syncReport(const AppModel& model);
UpdatesReport updatesReport(const AppModel& model, OrvelKit::UpdateFilter filter);
std::optional<UpdateDetail> updateDetail(const AppModel& model, std::string_view id);
std::vector<OrvelKit::ChannelDescriptor> channelsReport(const AppModel& model);
CardsReport cardsReport(const AppModel& model);

} // namespace Orvel::Cli
