// Encoding then decoding gives back the same records, over many generated
// responses with every optional part, odd texts and large numbers.

#include "orvelkit/protocol/Protocol.h"
#include "tests/support/RecordGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace OrvelProtocol;

TEST(WireRoundTrip, GeneratedSyncResponsesSurviveEncodingAndDecoding) {
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        OrvelTest::RecordGenerator generator(seed);
        const SyncResponse response = generator.syncResponse(seed * 7 % 90, 1 + seed % 5);
        auto json = encode(response);
        ASSERT_TRUE(json) << "seed " << seed << ": " << json.error();
        auto decoded = decode<SyncResponse>(*json);
        ASSERT_TRUE(decoded) << "seed " << seed << ": " << decoded.error();
        EXPECT_EQ(*decoded, response) << "seed " << seed;
        EXPECT_EQ(encode(*decoded).value(), *json) << "seed " << seed;
    }
}

TEST(WireRoundTrip, EveryOptionalPartAndExtremeValues) {
    OrvelTest::RecordGenerator generator(99);
    Notification n = generator.notification("ch_\u00e9\t\"x\"", UINT64_MAX);
    n.attachments = {generator.attachment(), generator.attachment()};
    n.attachments[0].alt = "";
    n.attachments[0].enc = AttachmentEnc{"k\\/", "image/png"};
    n.attachments[0].w = UINT64_MAX;
    n.attachments[0].h = 0;
    n.body = std::string("line\nnext\x01\x7F \xF0\x9F\x8E\x89\0end", 20);
    n.color = "";
    n.deliverWhen = "next_day";
    n.details = "d";
    n.fields = {generator.cardField()};
    n.links = {generator.link()};
    n.replyTo = "ntf_0";
    n.sealed = generator.sealedEnvelope();
    n.sender = "\u76e3\u8996";
    n.status = "custom";
    n.kind = Kind::card;
    n.urgency = Urgency::critical;

    auto back = decode<Notification>(encode(n).value());
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ(*back, n);

    PersistentCardUpdate card = generator.cardUpdate("c", UINT64_MAX);
    card.definition.rendererVersion = UINT64_MAX;
    card.operation.retractUpdateId = "u-1";
    card.operation.deltas = {{"f0", "-0.5"}};
    card.operation.values = {{"EUR", "€ 1", "f0", "money", "neutral", "k", "1"}};
    EXPECT_EQ(decode<PersistentCardUpdate>(encode(card).value()).value(), card);

    ChannelSync sync{{card}, "c", {0, UINT64_MAX}, UINT64_MAX, UINT64_MAX, "", {n}, false, 0};
    EXPECT_EQ(decode<ChannelSync>(encode(sync).value()).value(), sync);
}

TEST(WireRoundTrip, GeneratorIsDeterministicAndRealistic) {
    OrvelTest::RecordGenerator first(2024), second(2024), other(2025);
    const SyncResponse a = first.syncResponse(400, 5);
    EXPECT_EQ(a, second.syncResponse(400, 5));
    EXPECT_NE(a, other.syncResponse(400, 5));

    std::size_t notifications = 0, cards = 0, sealed = 0, attachments = 0, escaped = 0;
    for (const auto& channel : a.channels) {
        notifications += channel.notifications.size();
        cards += channel.cardUpdates.size();
        for (const auto& n : channel.notifications) {
            sealed += n.sealed.has_value();
            attachments += n.attachments.size();
        }
    }
    const std::string json = encode(a).value();
    for (std::size_t at = json.find("\\u00"); at != std::string::npos;
         at = json.find("\\u00", at + 1)) {
        ++escaped;
    }
    EXPECT_EQ(notifications, 400u);
    EXPECT_GT(cards, 0u);
    EXPECT_GT(sealed, 0u);
    EXPECT_GT(attachments, 0u);
    EXPECT_GT(escaped, 0u) << "some texts should hold control characters";
}
