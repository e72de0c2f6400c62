#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using OrvelKit::Inbox;
using OrvelKit::PersistentCardDescriptor;
using OrvelKit::PersistentCardFieldDescriptor;
using OrvelProtocol::PersistentCardDefinition;
using OrvelProtocol::PersistentCardOperation;
using OrvelProtocol::PersistentCardUpdate;
using OrvelProtocol::PersistentCardValue;
using Shown = std::vector<std::string>;
namespace Presentation = OrvelKit::Presentation;

namespace {

PersistentCardDefinition definition(std::string title,
                                    std::vector<std::string> fieldIds = {"a", "b"}) {
    PersistentCardDefinition result{{}, "metric", 1, std::move(title)};
    for (std::string& id : fieldIds) {
        result.fields.push_back({id, "number", "Label " + id, std::nullopt});
    }
    return result;
}

PersistentCardValue value(std::string fieldId, std::string text, std::string kind = "number",
                          std::optional<std::string> currency = std::nullopt) {
    return {
        std::move(currency), "shown " + text, std::move(fieldId), std::move(kind), {}, {}, text};
}

PersistentCardOperation snapshot(std::vector<PersistentCardValue> values,
                                 std::string kind = "snapshot") {
    return {{}, std::move(kind), std::nullopt, std::move(values)};
}
PersistentCardOperation delta(std::vector<OrvelProtocol::PersistentCardDelta> changes) {
    return {std::move(changes), "delta", std::nullopt, {}};
}
PersistentCardOperation retract(std::optional<std::string> updateId) {
    return {{}, "retract", std::move(updateId), {}};
}

// Update "u<cardSeq>" of card `cardKey` on channel "ch", stamped at minute
// `cardSeq` unless a timestamp is given.
PersistentCardUpdate update(std::uint64_t cardSeq, PersistentCardOperation op,
                            PersistentCardDefinition cardDefinition = definition("Card"),
                            std::string createdAt = {}, std::string cardKey = "spend",
                            std::string channel = "ch") {
    if (createdAt.empty()) {
        createdAt = "2025-07-01T10:" + std::string(cardSeq < 10 ? "0" : "") +
                    std::to_string(cardSeq) + ":00Z";
    }
    auto result = OrvelTest::cardUpdate(std::move(channel), cardSeq, std::move(cardKey),
                                        std::move(createdAt));
    result.updateId = "u" + std::to_string(cardSeq);
    result.definition = std::move(cardDefinition);
    result.operation = std::move(op);
    return result;
}

std::vector<PersistentCardDescriptor> cards(std::vector<PersistentCardUpdate> updates,
                                            const char* locale = "en_US") {
    const Inbox inbox({OrvelTest::channelInbox("ch", {}, 0, {}, std::move(updates))});
    return Presentation::persistentCards(inbox, locale);
}

// The card's fields as "id=value|display".
Shown shown(const PersistentCardDescriptor& card) {
    Shown result;
    for (const PersistentCardFieldDescriptor& field : card.fields) {
        result.push_back(field.id + "=" + field.value + "|" + field.display);
    }
    return result;
}

} // namespace

TEST(PersistentCards, ValuesInEffectAfterEachHistory) {
    const auto abc = definition("Card", {"a", "b", "c", "d"});
    struct Case {
        const char* name;
        std::vector<PersistentCardUpdate> updates;
        Shown shown; // empty: no card
    };
    const Case cases[] = {
        {"every update retracted",
         {update(1, snapshot({value("a", "1")})), update(2, retract("u1"))},
         {}},
        // A retraction without a target withdraws nothing and is not in effect.
        {"a bare retraction",
         {update(1, snapshot({value("a", "1")})), update(2, retract(std::nullopt))},
         {"a=1|shown 1"}},
        {"values only for fields the definition lacks",
         {update(1, snapshot({value("z", "1")}))},
         {}},
        {"a patch replaces some values; a snapshot all, the later value of a field winning",
         {update(1, snapshot({value("a", "1"), value("b", "2")})),
          update(2, snapshot({value("b", "3")}, "patch")),
          update(3, snapshot({value("a", "4"), value("a", "5")}))},
         {"a=5|shown 5"}},
        // Exact decimal sums; the display follows the sum. Other kinds,
        // unreadable values and unreadable deltas are left alone.
        {"deltas add to numbers",
         {update(1,
                 snapshot({value("a", "10"), value("b", "0.1"), value("c", "n/a"),
                           value("d", "10", "Number")}),
                 abc),
          update(2, delta({{"a", "2.5"}, {"b", "0.2"}, {"c", "1"}, {"d", "1"}, {"nothing", "5"}}),
                 abc),
          update(3, delta({{"a", "-0.5"}, {"a", "1e1"}, {"a", " 1"}, {"a", "1,5"}, {"a", "two"}}),
                 abc)},
         {"a=22|22", "b=0.3|0.3", "c=n/a|shown n/a", "d=10|shown 10"}},
        // Kinds are exact: "Snapshot" is unknown and changes no value.
        {"an unknown operation", {update(1, snapshot({value("a", "1")}, "Snapshot"))}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = cards(c.updates);
        ASSERT_EQ(result.size(), c.shown.empty() ? 0u : 1u);
        if (!result.empty()) {
            EXPECT_EQ(shown(result[0]), c.shown);
            EXPECT_EQ(result[0].cardSeq, c.updates.back().cardSeq);
        }
    }
}

TEST(PersistentCards, FieldsFollowTheDefinitionAndTakeTheirKindFromTheValue) {
    PersistentCardDefinition cardDefinition = definition("Spend", {"b", "missing", "a"});
    cardDefinition.fields[0].role = "primary";
    cardDefinition.fields[2].kind = "text";
    PersistentCardValue money = value("a", "9.99", "money", "XXX");
    money.tone = "warning";
    const auto result = cards({update(
        4, snapshot({money, value("b", "7", "count"), value("extra", "1")}), cardDefinition)});
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].id, "ch/spend");
    ASSERT_EQ(result[0].fields.size(), 2u);
    EXPECT_EQ(result[0].fields[0],
              (PersistentCardFieldDescriptor{"b", "Label b", "count", "7", "shown 7", std::nullopt,
                                             std::nullopt, std::nullopt, "primary"}));
    EXPECT_EQ(result[0].fields[1].kind, "money"); // from the value, not the definition
    EXPECT_EQ(result[0].fields[1].tone, "warning");
    EXPECT_EQ(result[0].primaryField()->id, "b");
}

TEST(PersistentCards, MoneyAddsExactlyAndIsDisplayedInTheGivenLocale) {
    const auto fields = definition("Spend", {"a", "b", "c", "d"});
    const auto updates = std::vector{
        update(1,
               snapshot({value("a", "10", "money", "USD"), value("b", "1234.5", "money", "EUR"),
                         value("c", "1", "money"), value("d", "1", "money", "EURO")}),
               fields),
        update(2, delta({{"a", "2.5"}, {"b", "0.25"}, {"c", "0.5"}, {"d", "0.5"}}), fields)};
    EXPECT_EQ(shown(cards(updates).at(0)),
              (Shown{"a=12.5|$12.50", "b=1234.75|€1,234.75", "c=1.5|1.5", "d=1.5|1.5"}));
    EXPECT_EQ(cards(updates, "de_DE").at(0).fields[1].display, "1.234,75\u00A0€");
}

TEST(PersistentCards, ReplayFollowsCardSequenceNotStorageOrTime) {
    PersistentCardDefinition renamed = definition("Second");
    renamed.rendererVersion = 3;
    const auto result = cards({
        update(4, retract("u3"), definition("Retraction"), "2025-07-01T09:00:00Z"),
        update(2, delta({{"a", "5"}}), renamed, "2025-07-01T12:00:00Z"),
        update(3, snapshot({value("a", "100")}), definition("Third"), "2025-07-01T11:00:00Z"),
        update(1, snapshot({value("a", "1"), value("b", "2")}), definition("First"),
               "2025-07-01T13:00:00Z"),
    });
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(shown(result[0]), (Shown{"a=6|6", "b=2|shown 2"}));
    // Definition of the last update in effect; time and number of the
    // retraction, which came last.
    EXPECT_EQ(result[0].title, "Second");
    EXPECT_EQ(result[0].rendererVersion, 3u);
    EXPECT_EQ(result[0].updatedAt, "2025-07-01T09:00:00Z");
}

TEST(PersistentCards, CardsAreOrderedByLatestUpdateThenById) {
    const auto card = [](std::string key, std::string channel, std::string createdAt) {
        return update(1, snapshot({value("a", "1")}), definition("x"), std::move(createdAt),
                      std::move(key), std::move(channel));
    };
    // The same card key on another channel is another card.
    const Inbox inbox({OrvelTest::channelInbox("beta", {}, 0, {},
                                               {card("spend", "beta", "2025-07-01T10:00:00Z"),
                                                card("queue", "beta", "2025-07-02T08:00:00Z")}),
                       OrvelTest::channelInbox("alpha", {}, 0, {},
                                               {card("spend", "alpha", "2025-07-01T10:00:00Z"),
                                                card("old", "alpha", "2025-06-30T23:00:00Z")})});
    EXPECT_EQ(OrvelTest::ids(Presentation::persistentCards(inbox, "en_US")),
              (Shown{"beta/queue", "alpha/spend", "beta/spend", "alpha/old"}));
}
