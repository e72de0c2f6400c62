#pragma once

// The encoding half of the schema codec, over RapidJSON's Writer. Include this
// only from .cpp files that instantiate encoders; everyone else uses Json.h.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/Schema.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace OrvelKit::Json::detail {

// Compact output; a text that is not valid UTF-8 makes String() fail.
using Writer = rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>,
                                 rapidjson::CrtAllocator, rapidjson::kWriteValidateEncodingFlag>;

// Collects the key path of a text that could not be written.
class EncodeFailure {
public:
    void atKey(std::string_view key) { reversedPath_.emplace_back(key); }
    void atIndex(std::size_t index) { reversedPath_.push_back("[" + std::to_string(index) + "]"); }

    EncodeError error() const {
        std::string path;
        for (auto it = reversedPath_.rbegin(); it != reversedPath_.rend(); ++it) {
            if (!path.empty() && it->front() != '[') {
                path += '.';
            }
            path += *it;
        }
        return EncodeError{std::move(path), "text is not valid UTF-8"};
    }

private:
    std::vector<std::string> reversedPath_;
};

inline bool encodeValue(Writer& writer, const std::string& text, EncodeFailure&) {
    return writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

inline bool encodeValue(Writer& writer, bool value, EncodeFailure&) {
    return writer.Bool(value);
}

inline bool encodeValue(Writer& writer, std::uint64_t value, EncodeFailure&) {
    return writer.Uint64(value);
}

inline bool encodeValue(Writer& writer, std::uint8_t value, EncodeFailure&) {
    return writer.Uint(value);
}

template <Enumeration E>
bool encodeValue(Writer& writer, E value, EncodeFailure&) {
    const std::string_view name = text(value);
    return writer.String(name.data(), static_cast<rapidjson::SizeType>(name.size()));
}

template <Record T>
bool encodeValue(Writer& writer, const T& value, EncodeFailure& failure);

template <class T>
bool encodeValue(Writer& writer, const std::vector<T>& values, EncodeFailure& failure) {
    writer.StartArray();
    for (std::size_t index = 0; index < values.size(); ++index) {
        if (!encodeValue(writer, values[index], failure)) {
            failure.atIndex(index);
            return false;
        }
    }
    return writer.EndArray();
}

template <class R, class M>
bool encodeKey(Writer& writer, const RequiredKey<R, M>& key, const R& record,
               EncodeFailure& failure) {
    writer.Key(key.key.data(), static_cast<rapidjson::SizeType>(key.key.size()));
    return encodeValue(writer, record.*key.member, failure);
}

template <class R, class M>
bool encodeKey(Writer& writer, const DefaultedKey<R, M>& key, const R& record,
               EncodeFailure& failure) {
    writer.Key(key.key.data(), static_cast<rapidjson::SizeType>(key.key.size()));
    return encodeValue(writer, record.*key.member, failure);
}

template <class R, class M>
bool encodeKey(Writer& writer, const OptionalKey<R, M>& key, const R& record,
               EncodeFailure& failure) {
    const auto& value = record.*key.member;
    if (!value) {
        return true;
    }
    writer.Key(key.key.data(), static_cast<rapidjson::SizeType>(key.key.size()));
    return encodeValue(writer, *value, failure);
}

template <Record T>
bool encodeValue(Writer& writer, const T& value, EncodeFailure& failure) {
    writer.StartObject();
    const bool ok = std::apply(
        [&](const auto&... keys) {
            return ((encodeKey(writer, keys, value, failure) || (failure.atKey(keys.key), false)) &&
                    ...);
        },
        schemaOf<T>);
    return ok && writer.EndObject();
}

} // namespace OrvelKit::Json::detail
