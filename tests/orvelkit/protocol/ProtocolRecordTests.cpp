// The records' keys and defaults: notifications, sealed envelopes, the
// enumerations, sync responses and persistent cards. Records that fail to
// decode are in DecodeFailureTests.cpp.

#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace OrvelProtocol;

namespace {

constexpr std::string_view minimal =
    R"({"id":"n1","channel":"c","seq":5,"created_at":"2025-07-01T09:00:00Z","title":"T",)"
    R"("urgency":"high"})";

// `minimal` with `extra` keys added.
std::string withKeys(std::string_view extra) {
    std::string json(minimal);
    json.insert(json.size() - 1, "," + std::string(extra));
    return json;
}

} // namespace

TEST(NotificationRecord, MinimalObjectGetsDefaultsAndReencodesThemExplicitly) {
    auto n = decode<Notification>(minimal);
    ASSERT_TRUE(n) << n.error();
    EXPECT_EQ(n->kind, Kind::message);
    EXPECT_EQ(n->urgency, Urgency::high);
    EXPECT_TRUE(n->attachments.empty() && n->fields.empty() && n->links.empty());
    EXPECT_FALSE(n->body || n->color || n->deliverWhen || n->details || n->replyTo || n->sealed ||
                 n->sender || n->status);
    EXPECT_EQ(encode(*n).value(),
              R"({"attachments":[],"channel":"c","created_at":"2025-07-01T09:00:00Z",)"
              R"("fields":[],"id":"n1","kind":"message","links":[],"seq":5,"title":"T",)"
              R"("urgency":"high"})");
    EXPECT_EQ(decode<Notification>(withKeys(R"("kind":null)"))->kind, Kind::message);
    EXPECT_EQ(decode<Notification>(withKeys(R"("kind":"card")"))->kind, Kind::card);
}

TEST(NotificationRecord, UrgencyDefaultsToNormalOnlyInInputAndSealedContent) {
    const std::string withoutUrgency = R"({"id":"n","channel":"c","seq":1,"created_at":"t",)"
                                       R"("title":"T","status":"need"})";
    auto input = decode<NotificationInput>(withoutUrgency);
    ASSERT_TRUE(input) << input.error();
    EXPECT_EQ(input->urgency, Urgency::normal);
    EXPECT_EQ(decode<SealedContent>(withoutUrgency)->urgency, Urgency::normal);
    EXPECT_FALSE(decode<Notification>(withoutUrgency));
}

// Encoding keeps any text (JsonEncoding, WireRoundTrip); what matters here is
// an envelope as the service sends it, with escapes the encoder would not
// produce and keys this version does not know.
TEST(NotificationRecord, SealedEnvelopeAsTheServiceSendsItDecodes) {
    auto received = decode<Notification>(
        withKeys(R"("sealed":{"ct":"a\/b\u00e9\u0000","enc":"e","v":1,"future":true})"));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->sealed->ct, std::string("a/b\xC3\xA9\0", 6));
    EXPECT_EQ(received->sealed->v, 1u);
}

TEST(ChannelSyncRecord, OnlyChannelCursorsAndNotificationsAreRequiredAndOwnedFalseIsKept) {
    auto sync =
        decode<ChannelSync>(R"({"channel":"c","latest_seq":9,"notifications":[],"read_seq":4})");
    ASSERT_TRUE(sync) << sync.error();
    EXPECT_EQ(*sync, (ChannelSync{{}, "c", {}, 0, 9, std::nullopt, {}, std::nullopt, 4}));
    EXPECT_EQ(encode(*sync).value(),
              R"({"card_updates":[],"channel":"c","dismissed_seqs":[],"latest_card_seq":0,)"
              R"("latest_seq":9,"notifications":[],"read_seq":4})");
    sync->owned = false;
    EXPECT_EQ(decode<ChannelSync>(encode(*sync).value())->owned, false);
}

namespace {

// An update with the given operation object.
std::string cardUpdate(std::string_view operation) {
    return R"({"card_key":"spend","card_seq":3,"channel":"c","created_at":"t","id":"cu1",)"
           R"("update_id":"u1","definition":{"fields":[{"id":"f","kind":"money","label":"Spend",)"
           R"("role":"primary"}],"renderer":"metric","title":"Spend"},"operation":)" +
           std::string(operation) + "}";
}

} // namespace

TEST(PersistentCardRecords, OperationNeedsOnlyItsKindWhichIsFreeText) {
    auto operation = decode<PersistentCardOperation>(R"({"kind":"retract"})");
    ASSERT_TRUE(operation);
    EXPECT_EQ(*operation, (PersistentCardOperation{{}, "retract", std::nullopt, {}}));
    EXPECT_EQ(encode(*operation).value(), R"({"deltas":[],"kind":"retract","values":[]})");

    auto unknown = decode<PersistentCardUpdate>(cardUpdate(R"({"kind":"reset-all","future":1})"));
    ASSERT_TRUE(unknown) << unknown.error();
    EXPECT_EQ(unknown->operation.kind, "reset-all");
    EXPECT_EQ(decode<PersistentCardUpdate>(encode(*unknown).value()).value(), *unknown);
}
