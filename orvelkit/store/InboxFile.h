#pragma once

// The inbox file: {"channels": [channel, ...]}, one object per ChannelInbox
// with camelCase keys, in inbox order:
//
//   "channel"        string                 required
//   "name"           string                 written when present
//   "owned"          boolean                false when absent
//   "notifications"  array of notifications empty when absent
//   "cardUpdates"    array of card updates  empty when absent
//   "lastReadSeq", "latestSeq", "latestCardSeq"
//                    unsigned integers      0 when absent
//   "dismissedSeqs"  array of unsigned integers, ascending, no repeats; empty when absent
//
// Notifications and card updates are written exactly as their wire records.
// A value of the wrong type anywhere fails the whole file. Unknown keys are
// ignored.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/Schema.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/PersistentCard.h"
#include "orvelkit/support/Expected.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace OrvelKit::InboxFile {

// One channel object as read from the file.
struct Channel {
    std::string channel;
    std::optional<std::string> name;
    bool owned = false;
    std::vector<OrvelProtocol::Notification> notifications;
    std::vector<OrvelProtocol::PersistentCardUpdate> cardUpdates;
    std::uint64_t lastReadSeq = 0;
    std::uint64_t latestSeq = 0;
    std::uint64_t latestCardSeq = 0;
    std::vector<std::uint64_t> dismissedSeqs;
};

inline auto jsonSchema(std::type_identity<Channel>) {
    using namespace Json;
    return std::tuple{requiredKey("channel", &Channel::channel),
                      optionalKey("name", &Channel::name),
                      defaultedKey("owned", &Channel::owned, false),
                      defaultedKey("notifications", &Channel::notifications),
                      defaultedKey("cardUpdates", &Channel::cardUpdates),
                      defaultedKey("lastReadSeq", &Channel::lastReadSeq),
                      defaultedKey("latestSeq", &Channel::latestSeq),
                      defaultedKey("latestCardSeq", &Channel::latestCardSeq),
                      defaultedKey("dismissedSeqs", &Channel::dismissedSeqs)};
}

struct Contents {
    std::vector<Channel> channels;
};

inline auto jsonSchema(std::type_identity<Contents>) {
    using namespace Json;
    return std::tuple{requiredKey("channels", &Contents::channels)};
}

// The inbox a file holds. Lists are taken in file order (an inbox built from
// them sorts them newest first, which a file this code wrote already is).
// `allocated`, when the owner keeps readable bytes after the text, counts
// them from its start (see Json::decode).
Expected<Inbox, Json::DecodeError> decode(std::string_view json, std::size_t allocated = 0);

// Writes `inbox` as the file's JSON straight from the inbox and hands the text
// to `consume`, which must not keep the view. `sizeHint`, the expected length,
// saves the buffer from growing step by step.
Expected<void, Json::EncodeError> encode(const Inbox& inbox,
                                         const std::function<void(std::string_view)>& consume,
                                         std::size_t sizeHint = 0);

} // namespace OrvelKit::InboxFile
