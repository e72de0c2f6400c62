#pragma once

#include "orvelkit/json/Schema.h"

#include <optional>
#include <string>
#include <tuple>

namespace OrvelKit {

// A channel this device created, with the token agents publish to it with.
struct ChannelConfig {
    // The channel's identifier as the service assigned it; also its identity.
    std::string channel;
    // The current publish token ("orvel_pub_..."); replaced when the key is rotated.
    std::string token;
    // When the channel was created (ISO 8601); kept across key rotations.
    std::optional<std::string> createdAt;

    const std::string& id() const { return channel; }

    bool operator==(const ChannelConfig&) const = default;
};

// Key names of the configuration file (camelCase, unlike the wire protocol).
inline auto jsonSchema(std::type_identity<ChannelConfig>) {
    using namespace Json;
    return std::tuple{requiredKey("channel", &ChannelConfig::channel),
                      requiredKey("token", &ChannelConfig::token),
                      optionalKey("createdAt", &ChannelConfig::createdAt)};
}

} // namespace OrvelKit
