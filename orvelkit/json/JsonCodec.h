#pragma once

// Definitions of Json::decode and Json::encode. Include from the .cpp file
// that instantiates them for a set of records.

#include "orvelkit/json/Json.h"
#include "orvelkit/json/JsonDecoder.h"
#include "orvelkit/json/JsonEncoder.h"

namespace OrvelKit::Json {

namespace detail {

// The parser and the output buffer are kept per thread between calls, so a
// decode or encode reuses memory that is already allocated and mapped instead
// of faulting in fresh pages for every text. Buffers that grew beyond this
// size are released after use rather than kept.
inline constexpr std::size_t retainedBufferLimit = std::size_t{64} << 20;

inline simdjson::dom::parser& threadParser() {
    thread_local simdjson::dom::parser parser;
    return parser;
}

inline void releaseIfHuge(simdjson::dom::parser& parser) {
    if (parser.capacity() > retainedBufferLimit) {
        parser = simdjson::dom::parser{};
    }
}

inline rapidjson::StringBuffer& threadOutput() {
    thread_local rapidjson::StringBuffer buffer;
    buffer.Clear();
    return buffer;
}

inline void releaseIfHuge(rapidjson::StringBuffer& buffer) {
    if (buffer.GetSize() > retainedBufferLimit) {
        buffer = rapidjson::StringBuffer{};
    }
}

} // namespace detail

template <Record T>
Expected<T, DecodeError> decode(std::string_view json) {
    simdjson::dom::parser& parser = detail::threadParser();
    simdjson::dom::element root;
    if (auto error = parser.parse(json.data(), json.size()).get(root)) {
        detail::releaseIfHuge(parser);
        return unexpected(
            DecodeError{{}, std::string("malformed JSON: ") + simdjson::error_message(error)});
    }
    T value{};
    detail::DecodeFailure failure;
    const bool ok = detail::decodeValue(root, value, failure);
    detail::releaseIfHuge(parser);
    if (!ok) {
        return unexpected(failure.error());
    }
    return value;
}

template <Record T>
Expected<std::string, EncodeError> encode(const T& value) {
    rapidjson::StringBuffer& buffer = detail::threadOutput();
    detail::Writer writer(buffer);
    detail::EncodeFailure failure;
    if (!detail::encodeValue(writer, value, failure)) {
        detail::releaseIfHuge(buffer);
        return unexpected(failure.error());
    }
    std::string json(buffer.GetString(), buffer.GetSize());
    detail::releaseIfHuge(buffer);
    return json;
}

// Instantiates decode and encode for the listed records.
#define ORVEL_JSON_INSTANTIATE(T)                                                                  \
    template Expected<T, DecodeError> decode<T>(std::string_view);                                 \
    template Expected<std::string, EncodeError> encode<T>(const T&);

} // namespace OrvelKit::Json
