#pragma once

// The encoding half of the schema codec, over RapidJSON's Writer. Include this
// only from .cpp files that instantiate encoders; everyone else uses Json.h.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/JsonString.h"
#include "orvelkit/json/Schema.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace OrvelKit::Json::detail {

// Compact output. Strings and keys go through text(), which escapes them
// itself and refuses a text that is not valid UTF-8 (RapidJSON's own String()
// validates byte by byte and is several times slower).
class Writer : public rapidjson::Writer<rapidjson::StringBuffer> {
public:
    explicit Writer(rapidjson::StringBuffer& buffer)
        : rapidjson::Writer<rapidjson::StringBuffer>(buffer) {}

    bool text(std::string_view value) {
        Prefix(rapidjson::kStringType);
        const std::size_t capacity = quotedCapacity(value.size());
        char* begin = os_->Push(capacity);
        char* end = writeQuoted(value, begin);
        if (end == nullptr) {
            os_->Pop(capacity);
            return false;
        }
        os_->Pop(static_cast<std::size_t>(begin + capacity - end));
        return EndValue(true);
    }
};

// Collects the key path of a text that could not be written.
class EncodeFailure {
public:
    void atKey(std::string_view key) { reversedPath_.emplace_back(key); }
    void atIndex(std::size_t index) {
        reversedPath_.push_back(concat({"[", std::to_string(index), "]"}));
    }

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
    return writer.text(text);
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
    return writer.text(text(value));
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
    writer.text(key.key);
    return encodeValue(writer, record.*key.member, failure);
}

template <class R, class M>
bool encodeKey(Writer& writer, const DefaultedKey<R, M>& key, const R& record,
               EncodeFailure& failure) {
    writer.text(key.key);
    return encodeValue(writer, record.*key.member, failure);
}

template <class R, class M>
bool encodeKey(Writer& writer, const OptionalKey<R, M>& key, const R& record,
               EncodeFailure& failure) {
    const auto& value = record.*key.member;
    if (!value) {
        return true;
    }
    writer.text(key.key);
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
