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
    n.attachments = {generator.attachment()};
    n.attachments[0].w = UINT64_MAX;
    n.attachments[0].h = 0;
    n.body = std::string("line\nnext\x01\x7F \xF0\x9F\x8E\x89\0end", 20);
    n.color = "";
    n.sealed = generator.sealedEnvelope();
    n.kind = Kind::card;

    PersistentCardUpdate card = generator.cardUpdate("c", UINT64_MAX);
    card.definition.rendererVersion = UINT64_MAX;
    card.operation.retractUpdateId = "u-1";
    card.operation.deltas = {{"f0", "-0.5"}};
    card.operation.values = {{"EUR", "€ 1", "f0", "money", "neutral", "k", "1"}};
    ChannelSync sync{{card}, "c", {0, UINT64_MAX}, UINT64_MAX, UINT64_MAX, "", {n}, false, 0};
    EXPECT_EQ(decode<ChannelSync>(encode(sync).value()).value(), sync);
}
