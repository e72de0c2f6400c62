// Cards as the model hands them to the screens: pinned first, then the most
// recently updated, answered from the sample inbox while it stands in.

#include "tests/orvel/core/ModelHarness.h"

#include <gtest/gtest.h>

namespace {

using namespace OrvelTest;
using OrvelProtocol::SyncResponse;

OrvelProtocol::PersistentCardUpdate metric(const std::string& channel, const std::string& key,
                                           std::uint64_t cardSeq, const std::string& createdAt) {
    OrvelProtocol::PersistentCardUpdate update;
    update.id = key + "-" + std::to_string(cardSeq);
    update.channel = channel;
    update.cardKey = key;
    update.cardSeq = cardSeq;
    update.createdAt = createdAt;
    update.updateId = update.id;
    update.definition.title = key;
    update.definition.renderer = "metric";
    update.definition.rendererVersion = 1;
    update.definition.fields = {{"count", "number", "Count", "primary"}};
    update.operation.kind = "snapshot";
    OrvelProtocol::PersistentCardValue value;
    value.fieldId = "count";
    value.kind = "number";
    value.value = std::to_string(cardSeq);
    update.operation.values = {value};
    return update;
}

std::vector<std::string> ids(const std::vector<OrvelKit::PersistentCardDescriptor>& cards) {
    std::vector<std::string> result;
    for (const auto& card : cards) {
        result.push_back(card.id);
    }
    return result;
}

TEST(AppModelCards, PinnedCardsComeFirstWhateverTheirAge) {
    ModelHarness h;
    h.paired();
    auto record = channelRecord("a");
    record.cardUpdates = {metric("a", "old", 1, "2026-12-01T08:00:00Z"),
                          metric("a", "new", 2, "2026-12-06T08:00:00Z"),
                          metric("a", "mid", 3, "2026-12-03T08:00:00Z")};
    record.latestCardSeq = 3;
    h.service->answer("sync", SyncResponse{{record}});
    auto& model = h.build();
    h.run(model.refresh());

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

TEST(AppModelCards, TheSampleCardStandsInUntilARealCardUpdateArrives) {
    ModelHarness h;
    h.paired();
    h.preferences->set("useDevelopmentData", true);
    auto& model = h.build();
    ASSERT_EQ(model.persistentCards().size(), 1u);
    EXPECT_EQ(model.persistentCards()[0].title, "OSS tickets solved");

    auto record = channelRecord("a");
    record.cardUpdates = {metric("a", "real", 1, "2026-12-06T08:00:00Z")};
    record.latestCardSeq = 1;
    h.service->answer("sync", SyncResponse{{record}});
    h.run(model.refresh());
    EXPECT_FALSE(model.isShowingDevelopmentData()) << "card updates alone make the inbox real";
    ASSERT_EQ(model.persistentCards().size(), 1u);
    EXPECT_EQ(model.persistentCards()[0].title, "real");
}

} // namespace
