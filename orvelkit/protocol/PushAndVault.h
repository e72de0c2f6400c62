#pragma once

// Push registration and key vault records. Protocol surface only: no
// operation of this system sends or receives them.

#include "orvelkit/json/Schema.h"
#include "orvelkit/protocol/Enumerations.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelProtocol {

struct PushRegistration {
    PushPlatform platform = PushPlatform::apns;
    std::string token;

    bool operator==(const PushRegistration&) const = default;
};

inline auto jsonSchema(std::type_identity<PushRegistration>) {
    using namespace OrvelKit::Json;
    return std::tuple{defaultedKey("platform", &PushRegistration::platform, PushPlatform::apns),
                      requiredKey("token", &PushRegistration::token)};
}

struct PushAck {
    bool registered = false;

    bool operator==(const PushAck&) const = default;
};

inline auto jsonSchema(std::type_identity<PushAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("registered", &PushAck::registered)};
}

// Opaque key material of a channel.
struct VaultItem {
    std::string channel;
    std::string encPub;
    std::uint64_t epoch = 0;
    std::string wrappedPriv;

    bool operator==(const VaultItem&) const = default;
};

inline auto jsonSchema(std::type_identity<VaultItem>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &VaultItem::channel),
                      requiredKey("enc_pub", &VaultItem::encPub),
                      requiredKey("epoch", &VaultItem::epoch),
                      requiredKey("wrapped_priv", &VaultItem::wrappedPriv)};
}

struct VaultList {
    std::vector<VaultItem> items;

    bool operator==(const VaultList&) const = default;
};

inline auto jsonSchema(std::type_identity<VaultList>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("items", &VaultList::items)};
}

} // namespace OrvelProtocol
