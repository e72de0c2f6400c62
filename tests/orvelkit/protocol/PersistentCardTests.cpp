// Persistent card records: defaults, required parts and free-text kinds.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

namespace {

template <class T>
std::string failure(std::string_view json) {
    auto result = decode<T>(json);
    return result ? "decoded" : result.error().description();
}

// An update with the given operation object; `updateId` is the "update_id"
// member, or nothing.
std::string update(std::string_view operation, std::string_view updateId = R"("update_id":"u1",)") {
    return R"({"card_key":"spend","card_seq":3,"channel":"c","created_at":"t","id":"cu1",)" +
           std::string(updateId) +
           R"("definition":{"fields":[{"id":"f","kind":"money","label":"Spend",)"
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
    EXPECT_EQ(failure<PersistentCardDefinition>(R"({"renderer":"m","title":"T"})"),
              "fields: required key is missing");
}

TEST(PersistentCardRecords, OperationNeedsOnlyItsKindWhichIsFreeText) {
    auto operation = decode<PersistentCardOperation>(R"({"kind":"retract"})");
    ASSERT_TRUE(operation);
    EXPECT_EQ(*operation, (PersistentCardOperation{{}, "retract", std::nullopt, {}}));
    EXPECT_EQ(encode(*operation).value(), R"({"deltas":[],"kind":"retract","values":[]})");

    EXPECT_EQ(failure<PersistentCardUpdate>(update(R"({"values":[]})")),
              "operation.kind: required key is missing");

    auto unknown = decode<PersistentCardUpdate>(update(R"({"kind":"reset-all","future":1})"));
    ASSERT_TRUE(unknown) << unknown.error();
    EXPECT_EQ(unknown->operation.kind, "reset-all");
    EXPECT_EQ(decode<PersistentCardUpdate>(encode(*unknown).value()).value(), *unknown);

    auto deltas =
        decode<PersistentCardOperation>(R"({"kind":"delta","deltas":[{"field_id":"f",)"
                                        R"("value":"-12.50"}],"retract_update_id":null})");
    ASSERT_TRUE(deltas);
    EXPECT_EQ(deltas->deltas, (std::vector<PersistentCardDelta>{{"f", "-12.50"}}));
    EXPECT_EQ(failure<PersistentCardOperation>(R"({"kind":"delta","deltas":[{"field_id":"f",)"
                                               R"("value":-12.5}]})"),
              "deltas[0].value: expected a string, found a number");
}

TEST(PersistentCardRecords, ValueNeedsDisplayAndOmitsAbsentOptionalKeys) {
    auto value = decode<PersistentCardValue>(
        R"({"display":"1.2k","field_id":"f","kind":"number","value":"1200"})");
    ASSERT_TRUE(value);
    EXPECT_FALSE(value->currency || value->tone || value->unit);
    EXPECT_EQ(encode(*value).value(),
              R"({"display":"1.2k","field_id":"f","kind":"number","value":"1200"})");

    EXPECT_EQ(failure<PersistentCardValue>(R"({"field_id":"f","kind":"money","value":"3"})"),
              "display: required key is missing");
    auto money = decode<PersistentCardValue>(R"({"currency":"EUR","display":"€3","field_id":"f",)"
                                             R"("kind":"money","tone":"positive","unit":"x",)"
                                             R"("value":"3.00"})");
    ASSERT_TRUE(money);
    EXPECT_EQ(money->currency, "EUR");
    EXPECT_EQ(money->value, "3.00");
}

TEST(PersistentCardRecords, UpdateIdIsRequiredForEveryOperation) {
    EXPECT_TRUE(decode<PersistentCardUpdate>(update(R"({"kind":"snapshot"})")));
    EXPECT_EQ(failure<PersistentCardUpdate>(update(R"({"kind":"snapshot"})", "")),
              "update_id: required key is missing");
    EXPECT_EQ(failure<PersistentCardUpdateInput>(
                  R"({"card_key":"k","channel":"c","definition":{"fields":[],"renderer":"r",)"
                  R"("title":"t"},"operation":{"kind":"patch"}})"),
              "update_id: required key is missing");
}

TEST(PersistentCardRecords, PullResponseDefaults) {
    auto pull = decode<PersistentCardPullResponse>("{}");
    ASSERT_TRUE(pull);
    EXPECT_EQ(*pull, PersistentCardPullResponse{});
    EXPECT_EQ(encode(*pull).value(), R"({"card_updates":[],"latest_card_seq":0})");
}
