#pragma once

// Definitions of Json::decode and Json::encode. Include from the .cpp file
// that instantiates them for a set of records.

#include "orvelkit/json/Json.h"
#include "orvelkit/json/JsonDecoder.h"
#include "orvelkit/json/JsonEncoder.h"

namespace OrvelKit::Json {

template <Record T>
Expected<T, DecodeError> decode(std::string_view json) {
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (auto error = parser.parse(json.data(), json.size()).get(root)) {
        return unexpected(
            DecodeError{{}, std::string("malformed JSON: ") + simdjson::error_message(error)});
    }
    T value{};
    detail::DecodeFailure failure;
    if (!detail::decodeValue(root, value, failure)) {
        return unexpected(failure.error());
    }
    return value;
}

template <Record T>
Expected<std::string, EncodeError> encode(const T& value) {
    rapidjson::StringBuffer buffer;
    detail::Writer writer(buffer);
    detail::EncodeFailure failure;
    if (!detail::encodeValue(writer, value, failure)) {
        return unexpected(failure.error());
    }
    return std::string(buffer.GetString(), buffer.GetSize());
}

// Instantiates decode and encode for the listed records.
#define ORVEL_JSON_INSTANTIATE(T)                                                                  \
    template Expected<T, DecodeError> decode<T>(std::string_view);                                 \
    template Expected<std::string, EncodeError> encode<T>(const T&);

} // namespace OrvelKit::Json
