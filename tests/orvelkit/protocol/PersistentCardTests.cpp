// Persistent card records: defaults, required parts and free-text kinds.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

namespace {

// An update with the given operation object.
std::string update(std::string_view operation) {
    return R"({"card_key":"spend","card_seq":3,"channel":"c","created_at":"t","id":"cu1",)"
           R"("update_id":"u1","definition":{"fields":[{"id":"f","kind":"money","label":"Spend",)"
           R"("role":"primary"}],"renderer":"metric","title":"Spend"},"operation":)" +
           std::string(operation) + "}";
}

} // namespace

TEST(PersistentCardRecords, DefinitionRendererVersionDefaultsToOneAndIsWritten) {
    auto definition =
        decode<PersistentCardDefinition>(R"({"fields":[],"renderer":"table","title":"T"})");
    ASSERT_TRUE(definition) << definition.error();
    EXPECT_EQ(definition->rendererVersion, 1u);
    EXPECT_EQ(encode(*definition).value(),
              R"({"fields":[],"renderer":"table","renderer_version":1,"title":"T"})");
    EXPECT_EQ(decode<PersistentCardDefinition>(
                  R"({"fields":[],"renderer":"m","renderer_version":null,"title":"T"})")
                  ->rendererVersion,
              1u);
}

TEST(PersistentCardRecords, OperationNeedsOnlyItsKindWhichIsFreeText) {
    auto operation = decode<PersistentCardOperation>(R"({"kind":"retract"})");
    ASSERT_TRUE(operation);
    EXPECT_EQ(*operation, (PersistentCardOperation{{}, "retract", std::nullopt, {}}));
    EXPECT_EQ(encode(*operation).value(), R"({"deltas":[],"kind":"retract","values":[]})");

    auto unknown = decode<PersistentCardUpdate>(update(R"({"kind":"reset-all","future":1})"));
    ASSERT_TRUE(unknown) << unknown.error();
    EXPECT_EQ(unknown->operation.kind, "reset-all");
    EXPECT_EQ(decode<PersistentCardUpdate>(encode(*unknown).value()).value(), *unknown);

    auto deltas =
        decode<PersistentCardOperation>(R"({"kind":"delta","deltas":[{"field_id":"f",)"
                                        R"("value":"-12.50"}],"retract_update_id":null})");
    ASSERT_TRUE(deltas);
    EXPECT_EQ(deltas->deltas, (std::vector<PersistentCardDelta>{{"f", "-12.50"}}));
}

TEST(PersistentCardRecords, ValueNeedsDisplayAndOmitsAbsentOptionalKeys) {
    auto value = decode<PersistentCardValue>(
        R"({"display":"1.2k","field_id":"f","kind":"number","value":"1200"})");
    ASSERT_TRUE(value);
    EXPECT_FALSE(value->currency || value->tone || value->unit);
    EXPECT_EQ(encode(*value).value(),
              R"({"display":"1.2k","field_id":"f","kind":"number","value":"1200"})");

    auto money = decode<PersistentCardValue>(R"({"currency":"EUR","display":"€3","field_id":"f",)"
                                             R"("kind":"money","tone":"positive","unit":"x",)"
                                             R"("value":"3.00"})");
    ASSERT_TRUE(money);
    EXPECT_EQ(money->currency, "EUR");
    EXPECT_EQ(money->value, "3.00");
}

TEST(PersistentCardRecords, PullResponseDefaults) {
    auto pull = decode<PersistentCardPullResponse>("{}");
    ASSERT_TRUE(pull);
    EXPECT_EQ(*pull, PersistentCardPullResponse{});
    EXPECT_EQ(encode(*pull).value(), R"({"card_updates":[],"latest_card_seq":0})");
}
