// The app model's card values: the ordered persistent cards and lookups.

#include "orvel/core/AppModel.h"

#include <algorithm>

namespace Orvel {

using OrvelKit::PersistentCardDescriptor;

std::vector<PersistentCardDescriptor> AppModel::persistentCards() const {
    auto cards = OrvelKit::Presentation::persistentCards(sourceInbox(), calendar().localeId());
    std::stable_sort(cards.begin(), cards.end(),
                     [&](const PersistentCardDescriptor& a, const PersistentCardDescriptor& b) {
                         const bool aPinned = pinnedCardIds_.contains(a.id);
                         const bool bPinned = pinnedCardIds_.contains(b.id);
                         if (aPinned != bPinned) {
                             return aPinned;
                         }
                         return a.updatedAt > b.updatedAt;
                     });
    return cards;
}

std::optional<PersistentCardDescriptor> AppModel::card(std::string_view id) const {
    auto cards = persistentCards();
    const auto found =
        std::find_if(cards.begin(), cards.end(),
                     [&](const PersistentCardDescriptor& card) { return card.id == id; });
    if (found == cards.end()) {
        return std::nullopt;
    }
    return std::move(*found);
}

} // namespace Orvel
