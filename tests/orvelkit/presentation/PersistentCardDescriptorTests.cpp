#include "orvelkit/presentation/CurrencyFormatter.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "tests/support/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using OrvelKit::ChannelInbox;
using OrvelKit::CurrencyFormatter;
using OrvelKit::Inbox;
using OrvelKit::PersistentCardDescriptor;
using OrvelKit::PersistentCardFieldDescriptor;
using OrvelProtocol::PersistentCardDefinition;
using OrvelProtocol::PersistentCardField;
using OrvelProtocol::PersistentCardOperation;
using OrvelProtocol::PersistentCardUpdate;
using OrvelProtocol::PersistentCardValue;
namespace Presentation = OrvelKit::Presentation;

namespace {

PersistentCardDefinition definition(std::string title,
                                    std::vector<std::string> fieldIds = {"a", "b"}) {
    PersistentCardDefinition result;
    result.title = std::move(title);
    result.renderer = "metric";
    for (std::string& id : fieldIds) {
        result.fields.push_back(PersistentCardField{id, "number", "Label " + id, std::nullopt});
    }
    return result;
}

PersistentCardValue value(std::string fieldId, std::string text, std::string kind = "number") {
    return {std::nullopt,
            "shown " + text,
            std::move(fieldId),
            std::move(kind),
            std::nullopt,
            std::nullopt,
            text};
}

PersistentCardOperation snapshot(std::vector<PersistentCardValue> stated) {
    return {{}, "snapshot", std::nullopt, std::move(stated)};
}
PersistentCardOperation patch(std::vector<PersistentCardValue> stated) {
    return {{}, "patch", std::nullopt, std::move(stated)};
}
PersistentCardOperation delta(std::vector<OrvelProtocol::PersistentCardDelta> changes) {
    return {std::move(changes), "delta", std::nullopt, {}};
}
PersistentCardOperation retract(std::string updateId) {
    return {{}, "retract", std::move(updateId), {}};
}

// Update "u<cardSeq>" of card `cardKey` on channel "ch", stamped at minute
// `cardSeq` unless a timestamp is given.
PersistentCardUpdate update(std::uint64_t cardSeq, PersistentCardOperation operation,
                            PersistentCardDefinition cardDefinition = definition("Card"),
                            std::string cardKey = "spend", std::string channel = "ch",
                            std::string createdAt = {}) {
    if (createdAt.empty()) {
        createdAt = "2025-07-01T10:" + std::string(cardSeq < 10 ? "0" : "") +
                    std::to_string(cardSeq) + ":00Z";
    }
    auto result = OrvelTest::cardUpdate(std::move(channel), cardSeq, std::move(cardKey),
                                        std::move(createdAt));
    result.updateId = "u" + std::to_string(cardSeq);
    result.definition = std::move(cardDefinition);
    result.operation = std::move(operation);
    return result;
}

Inbox inboxWith(std::vector<PersistentCardUpdate> updates) {
    return Inbox({OrvelTest::channelInbox("ch", {}, 0, {}, std::move(updates))});
}

std::vector<PersistentCardDescriptor> cards(const Inbox& inbox) {
    return Presentation::persistentCards(inbox, "en_US");
}

// The card's fields as "id=value|display".
std::vector<std::string> shown(const PersistentCardDescriptor& card) {
    std::vector<std::string> result;
    for (const PersistentCardFieldDescriptor& field : card.fields) {
        result.push_back(field.id + "=" + field.value + "|" + field.display);
    }
    return result;
}

using Shown = std::vector<std::string>;

} // namespace

TEST(PersistentCards, ValuesInEffectAfterEachHistory) {
    const PersistentCardOperation bare{{}, "retract", std::nullopt, {}};
    PersistentCardValue text = value("a", "10", "text");
    PersistentCardValue numberWithExtras = value("b", "n/a");
    numberWithExtras.unit = "ms";
    const std::string big = "123456789012345678901234567890.5";
    const std::string bigSum = "123456789012345678901234567890.500000000000000000000000000001";
    struct Case {
        const char* name;
        std::vector<PersistentCardUpdate> updates;
        Shown shown; // empty: no card
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"every update retracted",
         {update(1, snapshot({value("a", "1")})), update(2, retract("u1"))},
         {}},
        {"only retractions", {update(1, retract("u0"))}, {}},
        // A retraction without a target withdraws nothing and is not in effect.
        {"a bare retraction", {update(1, bare)}, {}},
        {"a bare retraction after a snapshot",
         {update(1, snapshot({value("a", "1")})), update(2, bare)},
         {"a=1|shown 1"}},
        {"values only for fields the definition lacks",
         {update(1, snapshot({value("z", "1")}))},
         {}},
        {"a patch replaces some values",
         {update(1, snapshot({value("a", "1"), value("b", "2")})),
          update(2, patch({value("b", "3")}))},
         {"a=1|shown 1", "b=3|shown 3"}},
        {"a snapshot states all values; the later value of a field wins",
         {update(1, snapshot({value("a", "1"), value("b", "2")})),
          update(2, snapshot({value("a", "4"), value("a", "5")}))},
         {"a=5|shown 5"}},
        // The display follows the sum; a field without a value gets none.
        {"deltas add exactly to numbers",
         {update(1, snapshot({value("a", "10"), value("b", "0.1")})),
          update(2, delta({{"a", "2.5"}, {"b", "0.2"}})),
          update(3, delta({{"a", "-0.5"}, {"a", "1e1"}, {"nothing", "5"}}))},
         {"a=22|22", "b=0.3|0.3"}},
        {"deltas beyond doubles",
         {update(1, snapshot({value("a", big)})),
          update(2, delta({{"a", "0.000000000000000000000000000001"}}))},
         {"a=" + bigSum + "|" + bigSum}},
        {"deltas leave other kinds and unreadable values alone",
         {update(1, snapshot({text, numberWithExtras})),
          update(2, delta({{"a", "1"}, {"b", "1"}, {"a", "abc"}}))},
         {"a=10|shown 10", "b=n/a|shown n/a"}},
        {"unreadable deltas and kinds compared case-sensitively",
         {update(1, snapshot({value("a", "10"), value("b", "1", "Number")})),
          update(2,
                 delta({{"a", " 1"}, {"a", "1,5"}, {"a", "1e99999"}, {"a", "two"}, {"b", "1"}}))},
         {"a=10|shown 10", "b=1|shown 1"}},
        {"an earlier retraction still withdraws a later update",
         {update(1, snapshot({value("a", "1")})), update(2, retract("u3")),
          update(3, patch({value("a", "2")}))},
         {"a=1|shown 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = cards(inboxWith(c.updates));
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
    PersistentCardValue money = value("a", "9.99", "money");
    money.currency = "EUR";
    money.unit = "per day";
    money.tone = "warning";
    const auto result = cards(inboxWith({update(
        4, snapshot({money, value("b", "7", "count"), value("extra", "1")}), cardDefinition)}));
    ASSERT_EQ(result.size(), 1u);
    const PersistentCardDescriptor& card = result[0];
    EXPECT_EQ(card.id, "ch/spend");
    EXPECT_EQ(card.title, "Spend");
    EXPECT_EQ(card.renderer, "metric");
    EXPECT_EQ(card.rendererVersion, 1u);
    ASSERT_EQ(card.fields.size(), 2u);
    EXPECT_EQ(card.fields[0],
              (PersistentCardFieldDescriptor{"b", "Label b", "count", "7", "shown 7", std::nullopt,
                                             std::nullopt, std::nullopt, "primary"}));
    // Kind from the value ("money"), not from the definition ("text").
    EXPECT_EQ(card.fields[1],
              (PersistentCardFieldDescriptor{"a", "Label a", "money", "9.99", "shown 9.99",
                                             "per day", "EUR", "warning", std::nullopt}));
}

TEST(PersistentCards, MoneyIsDisplayedInTheGivenLocale) {
    PersistentCardValue dollars = value("a", "10", "money");
    dollars.currency = "USD";
    PersistentCardValue euros = value("b", "1234.5", "money");
    euros.currency = "EUR";
    PersistentCardValue noCurrency = value("c", "1", "money");
    PersistentCardValue badCurrency = value("d", "1", "money");
    badCurrency.currency = "EURO";
    const Inbox inbox =
        inboxWith({update(1, snapshot({dollars, euros, noCurrency, badCurrency}),
                          definition("Spend", {"a", "b", "c", "d"})),
                   update(2, delta({{"a", "2.5"}, {"b", "0.25"}, {"c", "0.5"}, {"d", "0.5"}}),
                          definition("Spend", {"a", "b", "c", "d"}))});

    const auto american = Presentation::persistentCards(inbox, "en_US");
    ASSERT_EQ(american.size(), 1u);
    EXPECT_EQ(shown(american[0]),
              (Shown{"a=12.5|$12.50", "b=1234.75|€1,234.75", "c=1.5|1.5", "d=1.5|1.5"}));
    const auto german = Presentation::persistentCards(inbox, "de_DE");
    ASSERT_EQ(german.size(), 1u);
    EXPECT_EQ(german[0].fields[0].display, "12,50\u00A0$");
    EXPECT_EQ(german[0].fields[1].display, "1.234,75\u00A0€");
    EXPECT_EQ(german[0].fields[1].value, "1234.75");
}

TEST(CurrencyFormatter, FormatsExactAmountsOrNothing) {
    CurrencyFormatter formatter("en_US");
    EXPECT_EQ(formatter.format("12.5", "EUR"), "€12.50");
    EXPECT_EQ(formatter.format("12.5", "eur"), "€12.50");
    EXPECT_EQ(formatter.format("-3", "USD"), "-$3.00");
    EXPECT_EQ(formatter.format("1234", "JPY"), "¥1,234");
    // Far past double precision, still exact before rounding to cents.
    EXPECT_EQ(formatter.format("12345678901234567890.125", "USD"),
              "$12,345,678,901,234,567,890.12");
    EXPECT_EQ(formatter.format("12.5", "EU"), std::nullopt);
    EXPECT_EQ(formatter.format("12.5", "E1R"), std::nullopt);
    EXPECT_EQ(formatter.format("12.5", "€€€"), std::nullopt);
    EXPECT_EQ(formatter.format("twelve", "EUR"), std::nullopt);
    EXPECT_EQ(formatter.format("", "EUR"), std::nullopt);
}

TEST(PersistentCards, RetractingAnUpdateReplaysTheRestInCardSequenceOrder) {
    // Stored out of order, with timestamps that disagree with the sequence:
    // only `cardSeq` decides the replay.
    std::vector<PersistentCardUpdate> updates = {
        update(4, retract("u3"), definition("Retraction"), "spend", "ch", "2025-07-01T09:00:00Z"),
        update(2, delta({{"a", "5"}}), definition("Second"), "spend", "ch", "2025-07-01T12:00:00Z"),
        update(3, snapshot({value("a", "100")}), definition("Third"), "spend", "ch",
               "2025-07-01T11:00:00Z"),
        update(1, snapshot({value("a", "1"), value("b", "2")}), definition("First"), "spend", "ch",
               "2025-07-01T13:00:00Z"),
    };
    const auto result = cards(inboxWith(updates));
    ASSERT_EQ(result.size(), 1u);
    const PersistentCardDescriptor& card = result[0];
    EXPECT_EQ(shown(card), (Shown{"a=6|6", "b=2|shown 2"}));
    // Definition of the last update in effect; time and number of the
    // retraction, which came last.
    EXPECT_EQ(card.title, "Second");
    EXPECT_EQ(card.updatedAt, "2025-07-01T09:00:00Z");
    EXPECT_EQ(card.cardSeq, 4u);
}

TEST(PersistentCards, UnknownOperationsChangeNoValueButTheirDefinitionTakesEffect) {
    PersistentCardDefinition renamed = definition("Renamed", {"b", "a"});
    renamed.renderer = "table";
    renamed.rendererVersion = 3;
    PersistentCardOperation reset;
    reset.kind = "Snapshot"; // case matters: not a snapshot
    reset.values = {value("a", "99")};
    const auto result = cards(inboxWith({
        update(1, snapshot({value("a", "1"), value("b", "2")})),
        update(2, reset, renamed),
    }));
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].title, "Renamed");
    EXPECT_EQ(result[0].renderer, "table");
    EXPECT_EQ(result[0].rendererVersion, 3u);
    EXPECT_EQ(shown(result[0]), (Shown{"b=2|shown 2", "a=1|shown 1"}));
}

TEST(PersistentCards, CardsAreOrderedByLatestUpdateThenById) {
    const auto card = [](std::string key, std::string channel, std::string createdAt) {
        return update(1, snapshot({value("a", "1")}), definition("x"), std::move(key),
                      std::move(channel), std::move(createdAt));
    };
    // The same card key on another channel is another card.
    const Inbox inbox({OrvelTest::channelInbox("beta", {}, 0, {},
                                               {card("spend", "beta", "2025-07-01T10:00:00Z"),
                                                card("queue", "beta", "2025-07-02T08:00:00Z")}),
                       OrvelTest::channelInbox("alpha", {}, 0, {},
                                               {card("spend", "alpha", "2025-07-01T10:00:00Z"),
                                                card("old", "alpha", "2025-06-30T23:00:00Z")})});
    EXPECT_EQ(OrvelTest::ids(cards(inbox)),
              (std::vector<std::string>{"beta/queue", "alpha/spend", "beta/spend", "alpha/old"}));
}

TEST(PersistentCards, PrimaryFieldIsTheMarkedOneElseTheFirst) {
    PersistentCardDescriptor card;
    EXPECT_EQ(card.primaryField(), std::nullopt);
    const auto field = [](std::string id, std::optional<std::string> role) {
        PersistentCardFieldDescriptor descriptor;
        descriptor.id = std::move(id);
        descriptor.role = std::move(role);
        return descriptor;
    };
    card.fields = {field("a", std::nullopt), field("b", "Primary"), field("c", "primary"),
                   field("d", "primary")};
    EXPECT_EQ(card.primaryField()->id, "c");
    card.fields[2].role = "secondary";
    card.fields[3].role.reset();
    EXPECT_EQ(card.primaryField()->id, "a");
}
