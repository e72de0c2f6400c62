// How a record that does not fit is reported: one description naming the
// key path and what was wrong there, for every kind of mismatch and record.

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

// A valid update with `extra` keys added.
std::string update(std::string_view extra) {
    return R"({"id":"n1","channel":"c","seq":5,"created_at":"t","title":"T","urgency":"high",)" +
           std::string(extra) + "}";
}

struct Case {
    std::string (*decodeFailure)(std::string_view);
    std::string json;
    std::string expected;
};

const std::string card = R"({"card_key":"k","card_seq":1,"channel":"c","created_at":"t","id":"i",)"
                         R"("update_id":"u","definition":{"renderer":"m","title":"T","fields":)"
                         R"([{"id":"f","kind":"number","label":"L"}]},"operation":)";
const std::string channel = R"({"channel":"c","latest_seq":9,"notifications":[],"read_seq":4)";

const Case cases[] = {
    // Presence, null and type of a value.
    {failure<ReadAck>, R"({"channel":"c","readSeq":1})", "read_seq: required key is missing"},
    {failure<ReadAck>, R"({"channel":"c","read_seq":null})", "read_seq: required value is null"},
    {failure<ReadAck>, R"({"channel":"c","read_seq":"7"})",
     "read_seq: expected an unsigned 64-bit integer, found a string"},
    {failure<ReadAck>, "[]", "expected an object, found an array"},
    {failure<ReadAck>, R"("read_seq")", "expected an object, found a string"},
    // Numbers and enumerations.
    {failure<OfferAck>, R"({"expires_in":-1})", "expires_in: -1 is not an unsigned 64-bit integer"},
    {failure<RotateKeyBody>, R"({"channel":"c","grace_hours":256})",
     "grace_hours: 256 is not an integer from 0 to 255"},
    {failure<Notification>, update(R"("kind":"alert")"),
     R"(kind: "alert" is not one of message, card)"},
    // Paths into nested records and lists.
    {failure<Notification>, update(R"("attachments":[{"url":"u"},{"kind":"video","url":"u"}])"),
     R"(attachments[1].kind: "video" is not one of image)"},
    {failure<SyncResponse>, R"({"channels":[{"channel":"c","latest_seq":9,"read_seq":4}]})",
     "channels[0].notifications: required key is missing"},
    {failure<ChannelSync>, channel + R"(,"dismissed_seqs":[3,-4]})",
     "dismissed_seqs[1]: -4 is not an unsigned 64-bit integer"},
    {failure<SyncResponse>,
     R"({"channels":[)" + channel + R"(,"card_updates":[)" +
         std::string(card).replace(card.find(R"(,"label":"L")"), 12, "") +
         R"({"kind":"snapshot"}}]}]})",
     "channels[0].card_updates[0].definition.fields[0].label: required key is missing"},
    {failure<PersistentCardOperation>, R"({"kind":"delta","deltas":[{"field_id":"f","value":-1}]})",
     "deltas[0].value: expected a string, found a number"},
};

} // namespace

TEST(DecodeFailures, NameThePathAndWhatWasWrongThere) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(c.decodeFailure(c.json), c.expected);
    }
    // The same record with the fault mended decodes: the table's texts are
    // one fault away from valid.
    EXPECT_TRUE(decode<PersistentCardUpdate>(card + R"({"kind":"a"}})"));
    EXPECT_TRUE(decode<ChannelSync>(channel + "}"));
    EXPECT_TRUE(decode<Notification>(update(R"("kind":"card")")));
}
