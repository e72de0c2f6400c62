// Cards as the model hands them to the screens: pinned first, then the most
// recently updated, answered from the sample inbox while it stands in.

#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;

// A card update on channel "a" of a one-number card titled `key`.
OrvelProtocol::PersistentCardUpdate metric(const std::string& key, std::uint64_t cardSeq,
                                           const std::string& createdAt) {
    auto update = cardUpdate("a", cardSeq, key, createdAt);
    update.definition.title = key;
    update.definition.renderer = "metric";
    update.definition.fields = {{"count", "number", "Count", "primary"}};
    OrvelProtocol::PersistentCardValue value;
    value.fieldId = "count";
    value.kind = "number";
    value.value = std::to_string(cardSeq);
    update.operation.values = {value};
    return update;
}

TEST(AppModelCards, PinnedCardsComeFirstWhateverTheirAge) {
    ModelHarness h;
    auto& model = h.synced({channelSync("a", {}, {},
                                        {metric("old", 1, "2026-12-01T08:00:00Z"),
                                         metric("new", 2, "2026-12-06T08:00:00Z"),
                                         metric("mid", 3, "2026-12-03T08:00:00Z")})});
    const auto unpinned = ids(model.persistentCards());
    ASSERT_EQ(unpinned.size(), 3u);
    const auto oldest = unpinned.back();
    model.toggleCardPinned(oldest);
    const auto pinned = ids(model.persistentCards());
    EXPECT_EQ(pinned.front(), oldest);
    EXPECT_EQ(std::vector<std::string>(pinned.begin() + 1, pinned.end()),
              std::vector<std::string>(unpinned.begin(), unpinned.end() - 1));
    ASSERT_TRUE(model.card(oldest));
    EXPECT_FALSE(model.card("no-such-card"));

    model.toggleCardPinned(oldest);
    EXPECT_EQ(ids(model.persistentCards()), unpinned);
}

} // namespace
