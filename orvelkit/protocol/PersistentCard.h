#pragma once

// Persistent cards: live views an agent keeps current through a stream of
// updates, numbered per channel by a card sequence separate from `seq`.
// Kinds, roles and renderers are free text here; the presentation layer
// decides what they mean.

#include "orvelkit/json/Schema.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelProtocol {

struct PersistentCardField {
    std::string id;
    std::string kind;
    std::string label;
    std::optional<std::string> role;

    bool operator==(const PersistentCardField&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardField>) {
    using namespace OrvelKit::Json;
    using F = PersistentCardField;
    return std::tuple{requiredKey("id", &F::id), requiredKey("kind", &F::kind),
                      requiredKey("label", &F::label), optionalKey("role", &F::role)};
}

struct PersistentCardDefinition {
    std::vector<PersistentCardField> fields;
    std::string renderer;
    std::uint64_t rendererVersion = 1;
    std::string title;

    bool operator==(const PersistentCardDefinition&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardDefinition>) {
    using namespace OrvelKit::Json;
    using D = PersistentCardDefinition;
    return std::tuple{requiredKey("fields", &D::fields), requiredKey("renderer", &D::renderer),
                      defaultedKey("renderer_version", &D::rendererVersion, 1),
                      requiredKey("title", &D::title)};
}

// The value of one field.
struct PersistentCardValue {
    std::optional<std::string> currency;
    std::string display;
    std::string fieldId;
    std::string kind;
    std::optional<std::string> tone;
    std::optional<std::string> unit;
    std::string value;

    bool operator==(const PersistentCardValue&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardValue>) {
    using namespace OrvelKit::Json;
    using V = PersistentCardValue;
    return std::tuple{optionalKey("currency", &V::currency), requiredKey("display", &V::display),
                      requiredKey("field_id", &V::fieldId),  requiredKey("kind", &V::kind),
                      optionalKey("tone", &V::tone),         optionalKey("unit", &V::unit),
                      requiredKey("value", &V::value)};
}

// A change to a numeric value: a decimal number written as text.
struct PersistentCardDelta {
    std::string fieldId;
    std::string value;

    bool operator==(const PersistentCardDelta&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardDelta>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("field_id", &PersistentCardDelta::fieldId),
                      requiredKey("value", &PersistentCardDelta::value)};
}

// What one update does to a card: "snapshot", "patch", "delta" or "retract"
// (any other kind is kept as it came).
struct PersistentCardOperation {
    std::vector<PersistentCardDelta> deltas;
    std::string kind;
    std::optional<std::string> retractUpdateId;
    std::vector<PersistentCardValue> values;

    bool operator==(const PersistentCardOperation&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardOperation>) {
    using namespace OrvelKit::Json;
    using O = PersistentCardOperation;
    return std::tuple{defaultedKey("deltas", &O::deltas), requiredKey("kind", &O::kind),
                      optionalKey("retract_update_id", &O::retractUpdateId),
                      defaultedKey("values", &O::values)};
}

// One update to one card, as the service numbers and delivers it.
struct PersistentCardUpdate {
    std::string cardKey;
    std::uint64_t cardSeq = 0;
    std::string channel;
    std::string createdAt;
    PersistentCardDefinition definition;
    std::string id;
    PersistentCardOperation operation;
    std::string updateId;

    bool operator==(const PersistentCardUpdate&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardUpdate>) {
    using namespace OrvelKit::Json;
    using U = PersistentCardUpdate;
    return std::tuple{
        requiredKey("card_key", &U::cardKey),      requiredKey("card_seq", &U::cardSeq),
        requiredKey("channel", &U::channel),       requiredKey("created_at", &U::createdAt),
        requiredKey("definition", &U::definition), requiredKey("id", &U::id),
        requiredKey("operation", &U::operation),   requiredKey("update_id", &U::updateId)};
}

// A card update as a sender submits it.
struct PersistentCardUpdateInput {
    std::string cardKey;
    std::string channel;
    PersistentCardDefinition definition;
    PersistentCardOperation operation;
    std::string updateId;

    bool operator==(const PersistentCardUpdateInput&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardUpdateInput>) {
    using namespace OrvelKit::Json;
    using I = PersistentCardUpdateInput;
    return std::tuple{requiredKey("card_key", &I::cardKey), requiredKey("channel", &I::channel),
                      requiredKey("definition", &I::definition),
                      requiredKey("operation", &I::operation),
                      requiredKey("update_id", &I::updateId)};
}

// Protocol surface only: card updates reach the client through sync.
struct PersistentCardPullResponse {
    std::vector<PersistentCardUpdate> cardUpdates;
    std::uint64_t latestCardSeq = 0;

    bool operator==(const PersistentCardPullResponse&) const = default;
};

inline auto jsonSchema(std::type_identity<PersistentCardPullResponse>) {
    using namespace OrvelKit::Json;
    using P = PersistentCardPullResponse;
    return std::tuple{defaultedKey("card_updates", &P::cardUpdates),
                      defaultedKey("latest_card_seq", &P::latestCardSeq)};
}

} // namespace OrvelProtocol
