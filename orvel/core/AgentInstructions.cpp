#include "orvel/core/AgentInstructions.h"

namespace Orvel::AgentInstructions {

std::string channelInstructions(const OrvelProtocol::Engagement& engagement,
                                const OrvelKit::ServiceAddresses& service) {
    std::string text = "Send meaningful updates through Orvel using the `orvel_send` MCP tool at ";
    text += service.agentEndpoint();
    text += ". Follow ";
    text += service.agentGuidance();
    text += " for setup, fallback, and update guidance. Never repeat or log the secret; you may "
            "store it in memory for future Orvel sends. Use it only as `channel_key`: ";
    text += engagement.token;
    return text;
}

std::string replacementInstructions(const OrvelProtocol::KeyRotation& rotation) {
    std::string text = "Replace the Orvel channel_key for ";
    text += rotation.sender;
    text += " with this new secret: ";
    text += rotation.token;
    text += ". Never log or repeat it; use it only as channel_key when calling orvel_send.";
    return text;
}

} // namespace Orvel::AgentInstructions
