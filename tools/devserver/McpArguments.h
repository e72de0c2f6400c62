#pragma once

// The arguments of the `orvel_send` MCP tool: the channel's publish key, then
// either the fields of one update (as POST publish takes them, without the
// channel, which the key decides) or, under "card", one persistent-card
// update (as POST cards/publish takes it).

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"

#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace OrvelDev {

struct SendCard {
    std::string cardKey;
    OrvelProtocol::PersistentCardDefinition definition;
    OrvelProtocol::PersistentCardOperation operation;
    std::string updateId;

    bool operator==(const SendCard&) const = default;
};

inline auto jsonSchema(std::type_identity<SendCard>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("card_key", &SendCard::cardKey),
                      requiredKey("definition", &SendCard::definition),
                      requiredKey("operation", &SendCard::operation),
                      requiredKey("update_id", &SendCard::updateId)};
}

struct SendArguments {
    std::optional<std::string> body;
    std::optional<SendCard> card;
    std::string channelKey;
    std::optional<std::string> color;
    std::optional<std::string> deliverWhen;
    std::optional<std::string> details;
    std::vector<OrvelProtocol::CardField> fields;
    OrvelProtocol::Kind kind = OrvelProtocol::Kind::message;
    std::vector<OrvelProtocol::Link> links;
    std::optional<std::string> sender;
    std::optional<std::string> status;
    std::optional<std::string> title;
    OrvelProtocol::Urgency urgency = OrvelProtocol::Urgency::normal;

    bool operator==(const SendArguments&) const = default;
};

inline auto jsonSchema(std::type_identity<SendArguments>) {
    using namespace OrvelKit::Json;
    using A = SendArguments;
    return std::tuple{optionalKey("body", &A::body),
                      optionalKey("card", &A::card),
                      requiredKey("channel_key", &A::channelKey),
                      optionalKey("color", &A::color),
                      optionalKey("deliver_when", &A::deliverWhen),
                      optionalKey("details", &A::details),
                      defaultedKey("fields", &A::fields),
                      defaultedKey("kind", &A::kind, OrvelProtocol::Kind::message),
                      defaultedKey("links", &A::links),
                      optionalKey("sender", &A::sender),
                      optionalKey("status", &A::status),
                      optionalKey("title", &A::title),
                      defaultedKey("urgency", &A::urgency, OrvelProtocol::Urgency::normal)};
}

// The keys the tool accepts; anything else is refused rather than ignored, so
// that a misspelt argument does not silently go missing.
bool isSendArgumentKey(std::string_view key);

// The update the arguments describe, for the key's own channel.
OrvelProtocol::NotificationInput notificationInput(const SendArguments& arguments);
// The card update under "card", for the key's own channel.
OrvelProtocol::PersistentCardUpdateInput cardUpdateInput(const SendCard& card);

} // namespace OrvelDev
