#include "orvelkit/store/InboxFile.h"

#include "orvelkit/json/JsonCodec.h"

#include <utility>

namespace OrvelKit {

namespace Json {
ORVEL_JSON_INSTANTIATE(InboxFile::Contents)
} // namespace Json

namespace InboxFile {

namespace {

using Json::detail::EncodeFailure;
using Json::detail::encodeValue;
using Json::detail::Writer;

void key(Writer& writer, std::string_view name) {
    writer.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
}

// A list of records, with the failing index added to the error path.
template <class List>
bool encodeList(Writer& writer, std::string_view name, const List& records,
                EncodeFailure& failure) {
    key(writer, name);
    writer.StartArray();
    std::size_t index = 0;
    for (const auto& record : records) {
        if (!encodeValue(writer, record, failure)) {
            failure.atIndex(index);
            failure.atKey(name);
            return false;
        }
        ++index;
    }
    return writer.EndArray();
}

// The keys in the order of the file's description, matching Channel's schema.
bool encodeChannel(Writer& writer, const ChannelInbox& channel, EncodeFailure& failure) {
    writer.StartObject();
    key(writer, "channel");
    if (!encodeValue(writer, channel.channel(), failure)) {
        failure.atKey("channel");
        return false;
    }
    if (channel.name()) {
        key(writer, "name");
        if (!encodeValue(writer, *channel.name(), failure)) {
            failure.atKey("name");
            return false;
        }
    }
    key(writer, "owned");
    writer.Bool(channel.owned());
    if (!encodeList(writer, "notifications", channel.notifications(), failure) ||
        !encodeList(writer, "cardUpdates", channel.cardUpdates(), failure)) {
        return false;
    }
    key(writer, "lastReadSeq");
    writer.Uint64(channel.lastReadSeq());
    key(writer, "latestSeq");
    writer.Uint64(channel.latestSeq());
    key(writer, "latestCardSeq");
    writer.Uint64(channel.latestCardSeq());
    key(writer, "dismissedSeqs");
    writer.StartArray();
    for (std::uint64_t seq : channel.dismissedSeqs()) {
        writer.Uint64(seq);
    }
    writer.EndArray();
    return writer.EndObject();
}

} // namespace

Expected<Inbox, Json::DecodeError> decode(std::string_view json, std::size_t allocated) {
    auto contents = Json::decode<Contents>(json, allocated);
    if (!contents) {
        return unexpected(std::move(contents).error());
    }
    std::vector<ChannelInbox> channels;
    channels.reserve(contents->channels.size());
    for (Channel& entry : contents->channels) {
        channels.emplace_back(std::move(entry.channel), std::move(entry.name), entry.owned,
                              std::move(entry.notifications), std::move(entry.cardUpdates),
                              entry.lastReadSeq, entry.latestSeq, entry.latestCardSeq,
                              SequenceSet(entry.dismissedSeqs.begin(), entry.dismissedSeqs.end()));
    }
    return Inbox(std::move(channels));
}

Expected<void, Json::EncodeError> encode(const Inbox& inbox,
                                         const std::function<void(std::string_view)>& consume,
                                         std::size_t sizeHint) {
    rapidjson::StringBuffer buffer(nullptr, sizeHint > 0 ? sizeHint : 256);
    Writer writer(buffer);
    EncodeFailure failure;
    writer.StartObject();
    key(writer, "channels");
    writer.StartArray();
    std::size_t index = 0;
    for (const ChannelInbox& channel : inbox.channels()) {
        if (!encodeChannel(writer, channel, failure)) {
            failure.atIndex(index);
            failure.atKey("channels");
            return unexpected(failure.error());
        }
        ++index;
    }
    writer.EndArray();
    writer.EndObject();
    consume(std::string_view(buffer.GetString(), buffer.GetSize()));
    return {};
}

} // namespace InboxFile

} // namespace OrvelKit
