#pragma once

// What a sync or a single-channel pull returns.

#include "orvelkit/json/Schema.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/PersistentCard.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelProtocol {

// One channel's state and news since the cursors the request named.
struct ChannelSync {
    std::vector<PersistentCardUpdate> cardUpdates;
    std::string channel;
    std::vector<std::uint64_t> dismissedSeqs;
    std::uint64_t latestCardSeq = 0;
    std::uint64_t latestSeq = 0;
    std::optional<std::string> name;
    std::vector<Notification> notifications;
    std::optional<bool> owned;
    std::uint64_t readSeq = 0;

    bool operator==(const ChannelSync&) const = default;
};

inline auto jsonSchema(std::type_identity<ChannelSync>) {
    using namespace OrvelKit::Json;
    using C = ChannelSync;
    return std::tuple{defaultedKey("card_updates", &C::cardUpdates),
                      requiredKey("channel", &C::channel),
                      defaultedKey("dismissed_seqs", &C::dismissedSeqs),
                      defaultedKey("latest_card_seq", &C::latestCardSeq),
                      requiredKey("latest_seq", &C::latestSeq),
                      optionalKey("name", &C::name),
                      requiredKey("notifications", &C::notifications),
                      optionalKey("owned", &C::owned),
                      requiredKey("read_seq", &C::readSeq)};
}

// One entry per channel of the device's account.
struct SyncResponse {
    std::vector<ChannelSync> channels;

    bool operator==(const SyncResponse&) const = default;
};

inline auto jsonSchema(std::type_identity<SyncResponse>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("channels", &SyncResponse::channels)};
}

struct PullResponse {
    std::uint64_t latestSeq = 0;
    std::vector<Notification> notifications;

    bool operator==(const PullResponse&) const = default;
};

inline auto jsonSchema(std::type_identity<PullResponse>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("latest_seq", &PullResponse::latestSeq),
                      requiredKey("notifications", &PullResponse::notifications)};
}

} // namespace OrvelProtocol
