#pragma once

// The texts the user hands to an agent: how to post to a new channel, and how
// to switch to a rotated key. Every service address in them comes from the
// ServiceAddresses of the service the channel lives on.

#include "orvelkit/config/ServiceAddresses.h"
#include "orvelkit/protocol/ChannelRecords.h"

#include <string>

namespace Orvel::AgentInstructions {

// Ends with the publish token itself, nothing after it. `service`: the
// addresses of the server the engagement came from (the configured one).
std::string channelInstructions(const OrvelProtocol::Engagement& engagement,
                                const OrvelKit::ServiceAddresses& service);

std::string replacementInstructions(const OrvelProtocol::KeyRotation& rotation);

} // namespace Orvel::AgentInstructions
