#pragma once

// The reports of orvelctl as text for people. Every text an agent wrote is
// passed through terminalSafe on its way out.

#include "orvel/cli/Reports.h"
#include "orvel/cli/TerminalText.h"
#include "orvelkit/protocol/DeviceRecords.h"
#include "orvelkit/time/Calendar.h"

#include <optional>
#include <ostream>
#include <string>

namespace Orvel::Cli::TextReports {

void writeStatus(std::ostream& out, const StatusReport& report, const Style& style);
void writeBriefing(std::ostream& out, const OrvelKit::SmartBriefing& briefing, const Style& style);
void writeUpdates(std::ostream& out, const UpdatesReport& report, const Style& style);
void writeUpdate(std::ostream& out, const UpdateDetail& detail, const OrvelKit::Calendar& calendar,
                 const Style& style);
void writeChannels(std::ostream& out, const std::vector<OrvelKit::ChannelDescriptor>& channels,
                   const Style& style);
void writeCards(std::ostream& out, const CardsReport& report, const Style& style);
void writePairing(std::ostream& out, const OrvelProtocol::PairingCode& code,
                  const std::optional<std::string>& link, OrvelKit::Date now,
                  const OrvelKit::Calendar& calendar, const Style& style);

// One line per new update, as `watch` prints it: the time it was sent on the
// wall clock, its status, its agent and its title; a deferred update also says
// when it surfaces.
std::string updateLine(const OrvelProtocol::Notification& note, OrvelKit::Date now,
                       const OrvelKit::Calendar& calendar, const Style& style);
// One line for a card that changed: its time, its channel's name, its title
// and its featured value.
std::string cardLine(const OrvelKit::PersistentCardDescriptor& card, std::string_view channelName,
                     OrvelKit::Date now, const OrvelKit::Calendar& calendar, const Style& style);

} // namespace Orvel::Cli::TextReports
