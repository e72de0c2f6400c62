#include "tools/devserver/McpArguments.h"

#include "orvelkit/json/JsonCodec.h"

#include <algorithm>
#include <array>

namespace OrvelKit::Json {

using namespace OrvelDev;

ORVEL_JSON_INSTANTIATE(SendArguments)

} // namespace OrvelKit::Json

namespace OrvelDev {

bool isSendArgumentKey(std::string_view key) {
    const auto& names = OrvelKit::Json::detail::keyNamesOf<SendArguments>();
    return std::find(names.begin(), names.end(), key) != names.end();
}

OrvelProtocol::NotificationInput notificationInput(const SendArguments& arguments) {
    OrvelProtocol::NotificationInput input;
    input.body = arguments.body;
    input.color = arguments.color;
    input.deliverWhen = arguments.deliverWhen;
    input.details = arguments.details;
    input.fields = arguments.fields;
    input.kind = arguments.kind;
    input.links = arguments.links;
    input.sender = arguments.sender;
    input.status = arguments.status;
    input.title = arguments.title.value_or("");
    input.urgency = arguments.urgency;
    return input;
}

OrvelProtocol::PersistentCardUpdateInput cardUpdateInput(const SendCard& card) {
    OrvelProtocol::PersistentCardUpdateInput input;
    input.cardKey = card.cardKey;
    input.definition = card.definition;
    input.operation = card.operation;
    input.updateId = card.updateId;
    return input;
}

} // namespace OrvelDev
