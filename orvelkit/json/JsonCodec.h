#pragma once

// Definitions of Json::decode and Json::encode. Include from the .cpp file
// that instantiates them for a set of records.

#include "orvelkit/json/Json.h"
#include "orvelkit/json/JsonDecoder.h"
#include "orvelkit/json/JsonEncoder.h"
#include "orvelkit/support/AllocatorPolicy.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// simdjson's parser is laid out differently with and without
// SIMDJSON_THREADS_ENABLED, which its package defines for the targets that link
// it. A file that included this header without linking simdjson would build
// its own idea of the per-thread parser below and corrupt the one the rest of
// the program uses: link simdjson::simdjson, or include Json.h instead.
#ifndef SIMDJSON_THREADS_ENABLED
#error "JsonCodec.h needs the target to link simdjson::simdjson"
#endif

namespace OrvelKit::Json {

namespace detail {

// The parser and the output buffer are kept per thread between calls, so the
// many small texts of a running app reuse memory that is already allocated
// and mapped. The buffers of a text beyond `retainedBufferLimit` go back as
// soon as it is done: large texts come once (loading the inbox, the first
// sync), and a resident app must not hold their buffers (about six times the
// text for the parser) for the rest of the day. Giving them back costs the
// next large text its page faults, which a first large text pays anyway.
inline bool oversized(std::size_t capacity) {
    return capacity > retainedBufferLimit;
}

inline simdjson::ondemand::parser& threadParser() {
    thread_local simdjson::ondemand::parser parser;
    return parser;
}

inline void releaseIfOversized(simdjson::ondemand::parser& parser) {
    if (oversized(parser.capacity())) {
        parser = simdjson::ondemand::parser{};
        OrvelKit::returnFreeMemory();
    }
}

// The parser reads up to SIMDJSON_PADDING bytes past the end of the text
// (atoms and numbers are read a word at a time, wherever they are). Texts
// whose owners keep that many bytes after them (files read into FileContents,
// response bodies) are parsed where they lie; others are copied into a padded
// buffer first. Reading past a text's allocation instead, even within its
// memory page, is out of bounds: the address sanitizer rightly reports it.
template <Record T>
Expected<T, DecodeError> decodePadded(std::string_view json, std::size_t allocated) {
    simdjson::ondemand::parser& parser = threadParser();
    T value{};
    DecodeFailure failure;
    bool ok = false;
    {
        simdjson::ondemand::document document;
        simdjson::ondemand::value root;
        if (auto error = parser.iterate(json.data(), json.size(), allocated).get(document)) {
            failure.malformed(error);
        } else if (auto error = document.get_value().get(root)) {
            // A text of one scalar is JSON, just not a record.
            simdjson::ondemand::json_type type{};
            if (error == simdjson::SCALAR_DOCUMENT_AS_VALUE && !document.type().get(type)) {
                failure.fail(concat({"expected an object, found ", typeName(type)}));
            } else {
                failure.malformed(error);
            }
        } else if (decodeValue(root, value, failure)) {
            // Nothing but white space may follow the one value: past the
            // end, the document has no location left.
            ok = document.current_location().error() == simdjson::OUT_OF_BOUNDS ||
                 (failure.malformed(simdjson::TRAILING_CONTENT), false);
        }
    }
    releaseIfOversized(parser);
    if (!ok) {
        return unexpected(failure.error());
    }
    return value;
}

// The output buffer, and the largest text written into it since it was last
// released (RapidJSON does not tell its capacity).
struct ThreadOutput {
    rapidjson::StringBuffer buffer;
    std::size_t largest = 0;

    void releaseIfOversized() {
        largest = std::max(largest, buffer.GetSize());
        if (oversized(largest)) {
            buffer = rapidjson::StringBuffer{};
            largest = 0;
            OrvelKit::returnFreeMemory();
        }
    }
};

inline ThreadOutput& threadOutput() {
    thread_local ThreadOutput output;
    return output;
}

} // namespace detail

template <Record T>
Expected<T, DecodeError> decode(std::string_view json) {
    const simdjson::padded_string copy(json);
    return detail::decodePadded<T>(copy, copy.size() + simdjson::SIMDJSON_PADDING);
}

template <Record T>
Expected<T, DecodeError> decode(std::string_view json, std::size_t allocated) {
    if (allocated >= json.size() + simdjson::SIMDJSON_PADDING) {
        return detail::decodePadded<T>(json, allocated);
    }
    return decode<T>(json);
}

template <Record T>
Expected<std::string, EncodeError> encode(const T& value) {
    detail::ThreadOutput& output = detail::threadOutput();
    output.buffer.Clear();
    detail::Writer writer(output.buffer);
    detail::EncodeFailure failure;
    if (!detail::encodeValue(writer, value, failure)) {
        output.releaseIfOversized();
        return unexpected(failure.error());
    }
    std::string json(output.buffer.GetString(), output.buffer.GetSize());
    output.releaseIfOversized();
    return json;
}

// Instantiates decode and encode for the listed records.
#define ORVEL_JSON_INSTANTIATE(T)                                                                  \
    template Expected<T, DecodeError> decode<T>(std::string_view);                                 \
    template Expected<T, DecodeError> decode<T>(std::string_view, std::size_t);                    \
    template Expected<std::string, EncodeError> encode<T>(const T&);

} // namespace OrvelKit::Json
