#pragma once

// Channels, publish keys and the acknowledgements of channel operations.

#include "orvelkit/json/Schema.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelProtocol {

// A new channel with its first publish key.
struct Engagement {
    std::string channel;
    std::optional<std::string> keyId;
    std::string sender;
    std::string token;

    bool operator==(const Engagement&) const = default;
};

inline auto jsonSchema(std::type_identity<Engagement>) {
    using namespace OrvelKit::Json;
    return std::tuple{
        requiredKey("channel", &Engagement::channel), optionalKey("key_id", &Engagement::keyId),
        requiredKey("sender", &Engagement::sender), requiredKey("token", &Engagement::token)};
}

struct Subscription {
    std::string channel;

    bool operator==(const Subscription&) const = default;
};

inline auto jsonSchema(std::type_identity<Subscription>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &Subscription::channel)};
}

// A channel's new publish key; the token is shown to the user once.
struct KeyRotation {
    std::string channel;
    std::string keyId;
    std::optional<std::string> previousKeysExpireAt;
    std::string sender;
    std::string token;

    bool operator==(const KeyRotation&) const = default;
};

inline auto jsonSchema(std::type_identity<KeyRotation>) {
    using namespace OrvelKit::Json;
    using K = KeyRotation;
    return std::tuple{requiredKey("channel", &K::channel), requiredKey("key_id", &K::keyId),
                      optionalKey("previous_keys_expire_at", &K::previousKeysExpireAt),
                      requiredKey("sender", &K::sender), requiredKey("token", &K::token)};
}

// One publish key as the service lists it. Protocol surface only.
struct KeyInfo {
    std::string channel;
    std::string createdAt;
    std::optional<std::string> expiresAt;
    std::string keyId;
    std::optional<std::string> lastUsedAt;
    bool revoked = false;
    std::optional<std::string> revokedAt;
    std::string sender;

    bool operator==(const KeyInfo&) const = default;
};

inline auto jsonSchema(std::type_identity<KeyInfo>) {
    using namespace OrvelKit::Json;
    using K = KeyInfo;
    return std::tuple{
        requiredKey("channel", &K::channel),         requiredKey("created_at", &K::createdAt),
        optionalKey("expires_at", &K::expiresAt),    requiredKey("key_id", &K::keyId),
        optionalKey("last_used_at", &K::lastUsedAt), requiredKey("revoked", &K::revoked),
        optionalKey("revoked_at", &K::revokedAt),    requiredKey("sender", &K::sender)};
}

// Protocol surface only.
struct KeyList {
    std::vector<KeyInfo> keys;

    bool operator==(const KeyList&) const = default;
};

inline auto jsonSchema(std::type_identity<KeyList>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("keys", &KeyList::keys)};
}

// Protocol surface only.
struct RevokeAck {
    std::string keyId;
    bool revoked = false;

    bool operator==(const RevokeAck&) const = default;
};

inline auto jsonSchema(std::type_identity<RevokeAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("key_id", &RevokeAck::keyId),
                      requiredKey("revoked", &RevokeAck::revoked)};
}

// The channel's read mark after a mark-read request.
struct ReadAck {
    std::string channel;
    std::uint64_t readSeq = 0;

    bool operator==(const ReadAck&) const = default;
};

inline auto jsonSchema(std::type_identity<ReadAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &ReadAck::channel),
                      requiredKey("read_seq", &ReadAck::readSeq)};
}

struct DismissAck {
    std::string channel;
    bool dismissed = false;
    std::uint64_t seq = 0;

    bool operator==(const DismissAck&) const = default;
};

inline auto jsonSchema(std::type_identity<DismissAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &DismissAck::channel),
                      requiredKey("dismissed", &DismissAck::dismissed),
                      requiredKey("seq", &DismissAck::seq)};
}

// The display name now in force.
struct RenameChannelAck {
    std::string channel;
    std::string name;

    bool operator==(const RenameChannelAck&) const = default;
};

inline auto jsonSchema(std::type_identity<RenameChannelAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &RenameChannelAck::channel),
                      requiredKey("name", &RenameChannelAck::name)};
}

struct RetireAck {
    std::string channel;
    std::string retiredAt;

    bool operator==(const RetireAck&) const = default;
};

inline auto jsonSchema(std::type_identity<RetireAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &RetireAck::channel),
                      requiredKey("retired_at", &RetireAck::retiredAt)};
}

} // namespace OrvelProtocol
