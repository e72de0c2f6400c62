#pragma once

// The texts the user hands to an agent: how to post to a new channel, and how
// to switch to a rotated key. Every service address in them comes from
// ServiceAddresses.

#include "orvelkit/protocol/ChannelRecords.h"

#include <string>

namespace Orvel::AgentInstructions {

// Ends with the publish token itself, nothing after it.
std::string channelInstructions(const OrvelProtocol::Engagement& engagement);

std::string replacementInstructions(const OrvelProtocol::KeyRotation& rotation);

} // namespace Orvel::AgentInstructions
