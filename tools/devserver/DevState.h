#pragma once

// Everything the development service knows, as plain records. DevService keeps
// it in indexed form and hands out a DevState for the state file; the state
// file is this record in JSON (camelCase keys, like the other local files).

#include "orvelkit/json/Schema.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/PersistentCard.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelDev {

// An account's relation to a channel it follows (as owner or subscriber):
// the account's read mark and the updates it dismissed (ascending, unique).
struct FollowState {
    std::string channel;
    std::uint64_t readSeq = 0;
    std::vector<std::uint64_t> dismissedSeqs;

    bool operator==(const FollowState&) const = default;
};

inline auto jsonSchema(std::type_identity<FollowState>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &FollowState::channel),
                      requiredKey("readSeq", &FollowState::readSeq),
                      defaultedKey("dismissedSeqs", &FollowState::dismissedSeqs)};
}

// `follows` is in the order the account started following; sync answers in it.
struct AccountState {
    std::string id;
    std::string createdAt;
    std::vector<FollowState> follows;

    bool operator==(const AccountState&) const = default;
};

inline auto jsonSchema(std::type_identity<AccountState>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("id", &AccountState::id),
                      requiredKey("createdAt", &AccountState::createdAt),
                      defaultedKey("follows", &AccountState::follows)};
}

struct DeviceState {
    std::string token;
    std::string accountId;
    std::string createdAt;

    bool operator==(const DeviceState&) const = default;
};

inline auto jsonSchema(std::type_identity<DeviceState>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("token", &DeviceState::token),
                      requiredKey("accountId", &DeviceState::accountId),
                      requiredKey("createdAt", &DeviceState::createdAt)};
}

// A pairing code not yet redeemed.
struct PairingCodeState {
    std::string code;
    std::string accountId;
    std::uint64_t expiresAtMs = 0;

    bool operator==(const PairingCodeState&) const = default;
};

inline auto jsonSchema(std::type_identity<PairingCodeState>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("code", &PairingCodeState::code),
                      requiredKey("accountId", &PairingCodeState::accountId),
                      requiredKey("expiresAtMs", &PairingCodeState::expiresAtMs)};
}

// A channel with its updates (ascending `seq`) and card updates (ascending
// `cardSeq`). Sequence numbers start at 1 and have no gaps.
struct ChannelState {
    std::string id;
    std::optional<std::string> name;
    std::string owner;
    std::string createdAt;
    std::optional<std::string> retiredAt;
    std::vector<OrvelProtocol::Notification> notifications;
    std::vector<OrvelProtocol::PersistentCardUpdate> cardUpdates;

    bool operator==(const ChannelState&) const = default;
};

inline auto jsonSchema(std::type_identity<ChannelState>) {
    using namespace OrvelKit::Json;
    using C = ChannelState;
    return std::tuple{requiredKey("id", &C::id),
                      optionalKey("name", &C::name),
                      requiredKey("owner", &C::owner),
                      requiredKey("createdAt", &C::createdAt),
                      optionalKey("retiredAt", &C::retiredAt),
                      defaultedKey("notifications", &C::notifications),
                      defaultedKey("cardUpdates", &C::cardUpdates)};
}

// A publish key. A key replaced with a grace period keeps working until
// `expiresAtMs`; one replaced without grace is revoked at once.
struct KeyState {
    std::string keyId;
    std::string token;
    std::string channel;
    std::string sender;
    std::string createdAt;
    std::optional<std::uint64_t> expiresAtMs;
    bool revoked = false;
    std::optional<std::string> revokedAt;

    bool operator==(const KeyState&) const = default;
};

inline auto jsonSchema(std::type_identity<KeyState>) {
    using namespace OrvelKit::Json;
    using K = KeyState;
    return std::tuple{
        requiredKey("keyId", &K::keyId),         requiredKey("token", &K::token),
        requiredKey("channel", &K::channel),     requiredKey("sender", &K::sender),
        requiredKey("createdAt", &K::createdAt), optionalKey("expiresAtMs", &K::expiresAtMs),
        requiredKey("revoked", &K::revoked),     optionalKey("revokedAt", &K::revokedAt)};
}

struct DevState {
    static constexpr std::uint64_t currentVersion = 1;

    std::uint64_t version = currentVersion;
    std::vector<AccountState> accounts;
    std::vector<DeviceState> devices;
    std::vector<PairingCodeState> pairingCodes;
    std::vector<ChannelState> channels;
    std::vector<KeyState> keys;

    bool operator==(const DevState&) const = default;
};

inline auto jsonSchema(std::type_identity<DevState>) {
    using namespace OrvelKit::Json;
    using S = DevState;
    return std::tuple{
        requiredKey("version", &S::version),    defaultedKey("accounts", &S::accounts),
        defaultedKey("devices", &S::devices),   defaultedKey("pairingCodes", &S::pairingCodes),
        defaultedKey("channels", &S::channels), defaultedKey("keys", &S::keys)};
}

} // namespace OrvelDev
