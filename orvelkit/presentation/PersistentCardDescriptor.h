#pragma once

// Persistent cards as the screens show them: the stored stream of updates of
// each card folded into its current definition and values.

#include "orvelkit/inbox/Inbox.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace OrvelKit {

// One field of a card with its current value.
struct PersistentCardFieldDescriptor {
    // From the definition's field.
    std::string id;
    std::string label;
    // From the current value (its kind, not the definition field's).
    std::string kind;
    // Machine-readable text; plain decimal text after an increment.
    std::string value;
    // Text to show.
    std::string display;
    std::optional<std::string> unit;
    std::optional<std::string> currency;
    std::optional<std::string> tone;
    // From the definition's field; "primary" marks the featured field.
    std::optional<std::string> role;

    bool operator==(const PersistentCardFieldDescriptor&) const = default;
};

struct PersistentCardDescriptor {
    // The card's identity: channel id, "/", card key.
    std::string id;
    // Channel and card key of the latest update.
    std::string channel;
    std::string cardKey;
    // From the definition in force: that of the last update still in effect.
    std::string title;
    std::string renderer;
    std::uint64_t rendererVersion = 1;
    // In definition order; only fields that have a value (at least one).
    std::vector<PersistentCardFieldDescriptor> fields;
    // `createdAt` text and `cardSeq` of the latest update, which may be a
    // retraction.
    std::string updatedAt;
    std::uint64_t cardSeq = 0;

    // The first field whose role is exactly "primary", else the first field;
    // absent only when there are no fields.
    std::optional<PersistentCardFieldDescriptor> primaryField() const;

    bool operator==(const PersistentCardDescriptor&) const = default;
};

namespace Presentation {

// Every card of the inbox, most recently updated first (`updatedAt` compared
// as text, then `id` ascending). The updates of a card are those with equal
// channel + "/" + card key, replayed in `cardSeq` order:
//   - "retract" withdraws every update whose `updateId` it names; retractions
//     themselves never take effect;
//   - "snapshot" states all values, "patch" replaces the values it names,
//     "delta" adds to values of kind "number" or "money" in exact decimal
//     arithmetic (a value or delta that is not a number is left alone);
//   - any other kind changes no value, though its definition takes effect.
// A card without an update in effect, or without a value for any field of
// its definition, is left out. Money changed by an increment is displayed in
// the locale `localeId` (e.g. "en_US"); every other value shows its text.
std::vector<PersistentCardDescriptor> persistentCards(const Inbox& inbox,
                                                      std::string_view localeId);

} // namespace Presentation
} // namespace OrvelKit
