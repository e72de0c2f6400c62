#pragma once

// The reports of orvelctl as JSON documents for scripts: one object per
// command, keys in camelCase, absent values as null. Tokens appear only in
// the answers to `channel create` and `channel rotate`, which exist to hand
// them out.

#include "orvel/cli/Reports.h"
#include "orvelkit/protocol/ChannelRecords.h"
#include "orvelkit/protocol/DeviceRecords.h"
#include "orvelkit/time/Calendar.h"

#include <optional>
#include <string>
#include <vector>

namespace Orvel::Cli::JsonReports {

std::string status(const StatusReport& report);
std::string sync(const SyncReport& report);
std::string updates(const UpdatesReport& report);
std::string update(const UpdateDetail& detail);
std::string channels(const std::vector<OrvelKit::ChannelDescriptor>& channels);
std::string cards(const CardsReport& report);
std::string pairing(const OrvelProtocol::PairingCode& code, const std::optional<std::string>& link);
std::string engagement(const OrvelProtocol::Engagement& engagement,
                       const std::string& instructions);
std::string rotation(const OrvelProtocol::KeyRotation& rotation, const std::string& instructions);

} // namespace Orvel::Cli::JsonReports
