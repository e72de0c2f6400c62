#pragma once

// The JSON forms the development service adds to the wire protocol: the
// acknowledgements of the two publish endpoints, the health answer and the
// error body.

#include "orvelkit/json/Schema.h"

#include <cstdint>
#include <string>
#include <tuple>

namespace OrvelDev {

// The answer to POST publish.
struct PublishAck {
    std::string channel;
    std::string createdAt;
    std::string id;
    std::uint64_t seq = 0;

    bool operator==(const PublishAck&) const = default;
};

inline auto jsonSchema(std::type_identity<PublishAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channel", &PublishAck::channel),
                      requiredKey("created_at", &PublishAck::createdAt),
                      requiredKey("id", &PublishAck::id), requiredKey("seq", &PublishAck::seq)};
}

// The answer to POST cards/publish.
struct CardPublishAck {
    std::uint64_t cardSeq = 0;
    std::string channel;
    std::string createdAt;
    std::string id;

    bool operator==(const CardPublishAck&) const = default;
};

inline auto jsonSchema(std::type_identity<CardPublishAck>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("card_seq", &CardPublishAck::cardSeq),
                      requiredKey("channel", &CardPublishAck::channel),
                      requiredKey("created_at", &CardPublishAck::createdAt),
                      requiredKey("id", &CardPublishAck::id)};
}

struct HealthAnswer {
    bool ok = true;

    bool operator==(const HealthAnswer&) const = default;
};

inline auto jsonSchema(std::type_identity<HealthAnswer>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("ok", &HealthAnswer::ok)};
}

// The body of every refused request.
struct ErrorAnswer {
    std::string error;

    bool operator==(const ErrorAnswer&) const = default;
};

inline auto jsonSchema(std::type_identity<ErrorAnswer>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("error", &ErrorAnswer::error)};
}

} // namespace OrvelDev
