#pragma once

// The bodies the service client posts. The client only encodes them; the
// development service decodes them.

#include "orvelkit/json/Schema.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

namespace OrvelProtocol {

// Sent as "{}".
struct EmptyBody {
    bool operator==(const EmptyBody&) const = default;
};

inline auto jsonSchema(std::type_identity<EmptyBody>) {
    return std::tuple{};
}

struct RedeemBody {
    std::string code;

    bool operator==(const RedeemBody&) const = default;
};

inline auto jsonSchema(std::type_identity<RedeemBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("code", &RedeemBody::code)};
}

// `token` is the channel's publish token.
struct SubscribeBody {
    std::string channel;
    std::string token;

    bool operator==(const SubscribeBody&) const = default;
};

inline auto jsonSchema(std::type_identity<SubscribeBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &SubscribeBody::channel),
                      requiredKey("token", &SubscribeBody::token)};
}

// `sender`: the agent the new channel's key is for. "{}" without one.
struct EngageBody {
    std::optional<std::string> sender;

    bool operator==(const EngageBody&) const = default;
};

inline auto jsonSchema(std::type_identity<EngageBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{optionalKey("sender", &EngageBody::sender)};
}

// `graceHours`: how long the replaced keys keep working (0 = not at all).
struct RotateKeyBody {
    std::string channel;
    std::uint8_t graceHours = 0;

    bool operator==(const RotateKeyBody&) const = default;
};

inline auto jsonSchema(std::type_identity<RotateKeyBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &RotateKeyBody::channel),
                      requiredKey("grace_hours", &RotateKeyBody::graceHours)};
}

struct RenameChannelBody {
    std::string channel;
    std::string name;

    bool operator==(const RenameChannelBody&) const = default;
};

inline auto jsonSchema(std::type_identity<RenameChannelBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &RenameChannelBody::channel),
                      requiredKey("name", &RenameChannelBody::name)};
}

struct RetireChannelBody {
    std::string channel;

    bool operator==(const RetireChannelBody&) const = default;
};

inline auto jsonSchema(std::type_identity<RetireChannelBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &RetireChannelBody::channel)};
}

// Read up to and including `seq`.
struct ReadBody {
    std::string channel;
    std::uint64_t seq = 0;

    bool operator==(const ReadBody&) const = default;
};

inline auto jsonSchema(std::type_identity<ReadBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &ReadBody::channel),
                      requiredKey("seq", &ReadBody::seq)};
}

// Dismiss the one update `seq`.
struct DismissBody {
    std::string channel;
    std::uint64_t seq = 0;

    bool operator==(const DismissBody&) const = default;
};

inline auto jsonSchema(std::type_identity<DismissBody>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &DismissBody::channel),
                      requiredKey("seq", &DismissBody::seq)};
}

} // namespace OrvelProtocol
