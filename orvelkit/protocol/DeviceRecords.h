#pragma once

// Devices and pairing.

#include "orvelkit/json/Schema.h"

#include <cstdint>
#include <string>
#include <tuple>

namespace OrvelProtocol {

// Issued when a device is bootstrapped or pairs by code. The device token is
// the bearer token of every later device operation.
struct DeviceCredentials {
    std::string accountId;
    std::string deviceToken;

    bool operator==(const DeviceCredentials&) const = default;
};

inline auto jsonSchema(std::type_identity<DeviceCredentials>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("account_id", &DeviceCredentials::accountId),
                      requiredKey("device_token", &DeviceCredentials::deviceToken)};
}

// Protocol surface only.
struct ClaimedCredentials {
    std::string accountId;
    std::string bundle;
    std::string deviceToken;

    bool operator==(const ClaimedCredentials&) const = default;
};

inline auto jsonSchema(std::type_identity<ClaimedCredentials>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("account_id", &ClaimedCredentials::accountId),
                      requiredKey("bundle", &ClaimedCredentials::bundle),
                      requiredKey("device_token", &ClaimedCredentials::deviceToken)};
}

// A short code another device enters, and its lifetime in seconds.
struct PairingCode {
    std::string code;
    std::uint64_t expiresIn = 0;

    bool operator==(const PairingCode&) const = default;
};

inline auto jsonSchema(std::type_identity<PairingCode>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("code", &PairingCode::code),
                      requiredKey("expires_in", &PairingCode::expiresIn)};
}

// Protocol surface only.
struct OfferAck {
    std::uint64_t expiresIn = 0;

    bool operator==(const OfferAck&) const = default;
};

inline auto jsonSchema(std::type_identity<OfferAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("expires_in", &OfferAck::expiresIn)};
}

} // namespace OrvelProtocol
