// Notification records: their keys, defaults, sealed envelopes, and the
// enumerations. Records that fail to decode are in DecodeFailureTests.cpp.

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
    std::string json(minimal);
    json.replace(json.find("5"), 1, "18446744073709551615");
    EXPECT_EQ(decode<Notification>(json)->seq, 18446744073709551615u);
}

TEST(NotificationRecord, UrgencyDefaultsToNormalOnlyInInputAndSealedContent) {
    const std::string withoutUrgency = R"({"id":"n","channel":"c","seq":1,"created_at":"t",)"
                                       R"("title":"T","status":"need"})";
    auto input = decode<NotificationInput>(withoutUrgency);
    ASSERT_TRUE(input) << input.error();
    EXPECT_EQ(input->urgency, Urgency::normal);
    EXPECT_EQ(input->title, "T");
    EXPECT_EQ(input->channel, "c");
    EXPECT_EQ(decode<SealedContent>(withoutUrgency)->urgency, Urgency::normal);
    EXPECT_EQ(encode(SealedContent{}).value(),
              R"({"attachments":[],"fields":[],"kind":"message","links":[],"title":"",)"
              R"("urgency":"normal"})");
}

TEST(NotificationRecord, StatusAndDeliverWhenAreFreeTextKeptAsReceived) {
    for (std::string_view status : {"need", "blocked", "Done", ""}) {
        auto n = decode<Notification>(withKeys(R"("status":")" + std::string(status) +
                                               R"(","deliver_when":"2025-07-02T08:00:00+02:00")"));
        ASSERT_TRUE(n);
        EXPECT_EQ(n->status, status);
        EXPECT_EQ(n->deliverWhen, "2025-07-02T08:00:00+02:00");
        EXPECT_EQ(decode<Notification>(encode(*n).value())->status, status);
    }
}

TEST(NotificationRecord, Attachments) {
    auto image = decode<Attachment>(R"({"url":"https://x/a.png"})");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->kind, AttachmentKind::image);
    EXPECT_EQ(encode(*image).value(), R"({"kind":"image","url":"https://x/a.png"})");

    auto full = decode<Attachment>(R"({"alt":"A","enc":{"k":"K","mime":"image/png"},"h":480,)"
                                   R"("kind":"image","url":"u","w":640})");
    ASSERT_TRUE(full) << full.error();
    EXPECT_EQ(*full, (Attachment{"A", AttachmentEnc{"K", "image/png"}, 480, AttachmentKind::image,
                                 "u", 640}));
}

TEST(NotificationRecord, SealedEnvelopeIsKeptByteForByte) {
    // Opaque texts with everything that could be altered on the way:
    // escapes, slashes, padding, non-ASCII, control characters.
    const std::string ct =
        "AbC+/=\\u0041 \"quoted\" \\\\ \x01\x1F\t\r\n é 日本 \xF0\x9F\x94\x92 ==";
    const SealedEnvelope envelope{ct, "x25519/Chacha20-Poly1305;k=\u00e9", 18446744073709551615u};
    Notification n = *decode<Notification>(minimal);
    n.sealed = envelope;

    const std::string saved = encode(n).value();
    auto reloaded = decode<Notification>(saved);
    ASSERT_TRUE(reloaded) << reloaded.error();
    EXPECT_EQ(reloaded->sealed, envelope);
    EXPECT_EQ(encode(*reloaded).value(), saved);

    // As the service sends it, with escapes the encoder would not produce.
    auto received = decode<Notification>(
        withKeys(R"("sealed":{"ct":"a\/b\u00e9\u0000","enc":"e","v":1,"future":true})"));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->sealed->ct, std::string("a/b\xC3\xA9\0", 6));
}

TEST(NotificationRecord, ExtraKeysAnywhereAreDroppedOnReencoding) {
    auto n = decode<Notification>(
        withKeys(R"("unknown":1,"fields":[{"label":"L","value":"V","hint":"h"}],)"
                 R"("links":[{"label":"L","url":"u","target":"_blank"}])"));
    ASSERT_TRUE(n);
    const std::string json = encode(*n).value();
    EXPECT_EQ(json.find("unknown"), std::string::npos);
    EXPECT_EQ(json.find("hint"), std::string::npos);
    EXPECT_EQ(json.find("target"), std::string::npos);
    EXPECT_NE(json.find(R"("fields":[{"label":"L","value":"V"}])"), std::string::npos);
}

TEST(ProtocolEnumerations, TextsRoundTripExactly) {
    const auto roundTrips = [](auto cases) {
        for (auto value : cases) {
            EXPECT_EQ(fromText<decltype(value)>(text(value)), value) << text(value);
        }
    };
    roundTrips(allCases<Kind>());
    roundTrips(allCases<Urgency>());
    roundTrips(allCases<AttachmentKind>());
    roundTrips(allCases<Status>());
    roundTrips(allCases<PushPlatform>());
    EXPECT_EQ(allCases<Status>().size(), 6u);
    EXPECT_EQ(text(Status::running), "running");
    for (std::string_view other : {"blocked", "Need", "", "need "}) {
        EXPECT_EQ(fromText<Status>(other), std::nullopt) << other;
    }
}
