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

namespace OrvelKit::Json {

namespace detail {

// The reader's buffer (for strings with escapes) and the output buffer are
// kept per thread between calls, so the many small texts of a running app
// reuse memory that is already allocated and mapped. Buffers grown by a text
// beyond `retainedBufferLimit` go back as soon as it is done: large texts come
// once (loading the inbox, the first sync), and a resident app must not hold
// their buffers for the rest of the day.
inline bool oversized(std::size_t capacity) {
    return capacity > retainedBufferLimit;
}

inline std::string& threadScratch() {
    thread_local std::string scratch;
    return scratch;
}

// Decodes the text where it lies: the reader keeps no index of it and never
// reads past its end, so the text needs neither padding nor a copy. What a
// decode allocates beyond the text is the records themselves.
template <Record T>
Expected<T, DecodeError> decodeText(std::string_view json) {
    std::string& scratch = threadScratch();
    T value{};
    DecodeFailure failure;
    bool ok = false;
    {
        JsonReader in(json, scratch);
        if (!in.checkEncoding()) {
            failure.malformed(in.problem());
        } else if (decodeValue(in, value, failure)) {
            ok = in.atEnd() || broken(in, failure);
        }
    }
    if (!ok && !failure.isMalformed()) {
        // A mismatch stops the decode where it is found; broken JSON later
        // in the text still makes the whole text malformed.
        JsonReader in(json, scratch);
        DecodeFailure syntax;
        if (!skipValue(in, 0, maxNesting, syntax) || !(in.atEnd() || broken(in, syntax))) {
            failure = std::move(syntax);
        }
    }
    if (oversized(scratch.capacity())) {
        std::string().swap(scratch);
        OrvelKit::returnFreeMemory();
    } else if (!ok && oversized(json.size())) {
        // The records decoded so far are freed, scattered over the heap.
        value = T{};
        OrvelKit::returnFreeMemory();
    }
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
    return detail::decodeText<T>(json);
}

template <Record T>
Expected<T, DecodeError> decode(std::string_view json, std::size_t) {
    return detail::decodeText<T>(json);
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
