#include "orvelkit/presentation/PersistentCardDescriptor.h"

#include "orvelkit/presentation/CurrencyFormatter.h"
#include "orvelkit/presentation/Decimal.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace OrvelKit {

using OrvelProtocol::PersistentCardDelta;
using OrvelProtocol::PersistentCardUpdate;
using OrvelProtocol::PersistentCardValue;

std::optional<PersistentCardFieldDescriptor> PersistentCardDescriptor::primaryField() const {
    const auto primary = std::find_if(fields.begin(), fields.end(), [](const auto& field) {
        return field.role && *field.role == "primary";
    });
    if (primary != fields.end()) {
        return *primary;
    }
    if (fields.empty()) {
        return std::nullopt;
    }
    return fields.front();
}

namespace Presentation {

namespace {

// A stored card update and its position in the channel-by-channel listing.
struct ListedUpdate {
    const PersistentCardUpdate* update = nullptr;
    std::size_t listingIndex = 0;
};

// The current value of a field: the value an update stated, and the sum once
// increments have changed it. Texts are written out only for the finished
// card, so a run of increments costs one addition each.
struct FieldState {
    const PersistentCardValue* stated = nullptr;
    std::optional<Decimal> sum;
};

using FieldStates = std::unordered_map<std::string_view, FieldState>;

bool isNumericKind(std::string_view kind) {
    return kind == "number" || kind == "money";
}

void applyDelta(FieldStates& states, const PersistentCardDelta& delta) {
    const auto found = states.find(delta.fieldId);
    if (found == states.end() || !isNumericKind(found->second.stated->kind)) {
        return;
    }
    FieldState& state = found->second;
    const std::optional<Decimal> current =
        state.sum ? state.sum : Decimal::parse(state.stated->value);
    if (!current) {
        return;
    }
    const std::optional<Decimal> change = Decimal::parse(delta.value);
    if (!change) {
        return;
    }
    // A sum beyond Decimal's bounds leaves the value as it was.
    if (std::optional<Decimal> sum = current->adding(*change)) {
        state.sum = std::move(sum);
    }
}

PersistentCardFieldDescriptor fieldDescriptor(const OrvelProtocol::PersistentCardField& field,
                                              const FieldState& state,
                                              CurrencyFormatter& currencyFormatter) {
    const PersistentCardValue& stated = *state.stated;
    PersistentCardFieldDescriptor descriptor{
        .id = field.id,
        .label = field.label,
        .kind = stated.kind,
        .value = {},
        .display = {},
        .unit = stated.unit,
        .currency = stated.currency,
        .tone = stated.tone,
        .role = field.role,
    };
    if (!state.sum) {
        descriptor.value = stated.value;
        descriptor.display = stated.display;
        return descriptor;
    }
    descriptor.value = state.sum->plainString();
    std::optional<std::string> money;
    if (stated.kind == "money" && stated.currency) {
        money = currencyFormatter.format(descriptor.value, *stated.currency);
    }
    descriptor.display = money ? std::move(*money) : descriptor.value;
    return descriptor;
}

// Folds one card's updates into its descriptor; absent when nothing of the
// card is left to show.
std::optional<PersistentCardDescriptor> materializeCard(std::string id,
                                                        std::vector<ListedUpdate>& updates,
                                                        CurrencyFormatter& currencyFormatter) {
    if (updates.empty()) {
        return std::nullopt;
    }
    // `cardSeq` ascending; equal numbers in the order of
    // Inbox::allCardUpdates (`createdAt` descending, then listing order).
    std::sort(updates.begin(), updates.end(), [](const ListedUpdate& a, const ListedUpdate& b) {
        if (a.update->cardSeq != b.update->cardSeq) {
            return a.update->cardSeq < b.update->cardSeq;
        }
        if (a.update->createdAt != b.update->createdAt) {
            return a.update->createdAt > b.update->createdAt;
        }
        return a.listingIndex < b.listingIndex;
    });
    const PersistentCardUpdate& latest = *updates.back().update;

    std::unordered_set<std::string_view> retracted;
    for (const ListedUpdate& listed : updates) {
        const auto& operation = listed.update->operation;
        if (operation.kind == "retract" && operation.retractUpdateId) {
            retracted.insert(*operation.retractUpdateId);
        }
    }

    FieldStates states;
    const PersistentCardUpdate* inForce = nullptr;
    for (const ListedUpdate& listed : updates) {
        const PersistentCardUpdate& update = *listed.update;
        const auto& operation = update.operation;
        if (operation.kind == "retract" || retracted.contains(update.updateId)) {
            continue;
        }
        inForce = &update;
        if (operation.kind == "snapshot") {
            states.clear();
            for (const PersistentCardValue& value : operation.values) {
                states[value.fieldId] = FieldState{&value, std::nullopt};
            }
        } else if (operation.kind == "patch") {
            for (const PersistentCardValue& value : operation.values) {
                states[value.fieldId] = FieldState{&value, std::nullopt};
            }
        } else if (operation.kind == "delta") {
            for (const PersistentCardDelta& delta : operation.deltas) {
                applyDelta(states, delta);
            }
        }
    }
    if (inForce == nullptr) {
        return std::nullopt;
    }

    const auto& definition = inForce->definition;
    std::vector<PersistentCardFieldDescriptor> fields;
    for (const auto& field : definition.fields) {
        const auto found = states.find(field.id);
        if (found != states.end()) {
            fields.push_back(fieldDescriptor(field, found->second, currencyFormatter));
        }
    }
    if (fields.empty()) {
        return std::nullopt;
    }
    return PersistentCardDescriptor{
        .id = std::move(id),
        .channel = latest.channel,
        .cardKey = latest.cardKey,
        .title = definition.title,
        .renderer = definition.renderer,
        .rendererVersion = definition.rendererVersion,
        .fields = std::move(fields),
        .updatedAt = latest.createdAt,
        .cardSeq = latest.cardSeq,
    };
}

} // namespace

std::vector<PersistentCardDescriptor> persistentCards(const Inbox& inbox,
                                                      std::string_view localeId) {
    // Group by the identity text, so that no two cards share an id.
    std::unordered_map<std::string, std::size_t> groupIndex;
    std::vector<std::pair<std::string, std::vector<ListedUpdate>>> groups;
    std::size_t listingIndex = 0;
    std::string key;
    for (const ChannelInbox& entry : inbox.channels()) {
        for (const PersistentCardUpdate& update : entry.cardUpdates()) {
            key.assign(update.channel);
            key.push_back('/');
            key.append(update.cardKey);
            const auto [found, isNew] = groupIndex.try_emplace(key, groups.size());
            if (isNew) {
                groups.emplace_back(key, std::vector<ListedUpdate>{});
            }
            groups[found->second].second.push_back({&update, listingIndex++});
        }
    }

    CurrencyFormatter currencyFormatter(localeId);
    std::vector<PersistentCardDescriptor> cards;
    cards.reserve(groups.size());
    for (auto& [id, updates] : groups) {
        if (auto card = materializeCard(std::move(id), updates, currencyFormatter)) {
            cards.push_back(std::move(*card));
        }
    }
    // Identities are distinct, so the order is total.
    std::sort(cards.begin(), cards.end(),
              [](const PersistentCardDescriptor& a, const PersistentCardDescriptor& b) {
                  if (a.updatedAt != b.updatedAt) {
                      return a.updatedAt > b.updatedAt;
                  }
                  return a.id < b.id;
              });
    return cards;
}

} // namespace Presentation
} // namespace OrvelKit
