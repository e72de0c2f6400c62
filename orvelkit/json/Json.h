#pragma once

// Decoding and encoding of records described by a schema (Schema.h).
//
// decode() reads the text once, straight into the record, and checks all of
// it (syntax and UTF-8, also under keys the record ignores), so a fault
// anywhere fails the whole text and nothing of it is returned. Values under
// keys the record does not list are checked but not interpreted: they may
// hold numbers of any size.
// encode() writes compact JSON; a text that is not valid UTF-8 is an error.
//
// The templates are defined in JsonCodec.h and instantiated explicitly for the
// records that need them (the wire records in protocol/WireCoding.cpp).

#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/Schema.h"
#include "orvelkit/support/Expected.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace OrvelKit::Json {

template <Record T>
Expected<T, DecodeError> decode(std::string_view json);

// The same, for a text whose owner keeps `allocated` bytes from its start
// readable. Texts are always read where they lie, never past their end, so
// the spare bytes are no longer needed; kept for the callers that pass them.
template <Record T>
Expected<T, DecodeError> decode(std::string_view json, std::size_t allocated);

template <Record T>
Expected<std::string, EncodeError> encode(const T& value);

// decode() and encode() keep their working memory per thread between calls
// for texts up to this many bytes; after a larger text it is released, and
// free heap memory is returned to the system.
inline constexpr std::size_t retainedBufferLimit = std::size_t{4} << 20;

// What the calling thread keeps: the room for unescaped strings, and the
// largest text the output buffer has held since it was last released.
struct RetainedBuffers {
    std::size_t unescapeCapacity = 0;
    std::size_t outputSize = 0;
};
RetainedBuffers retainedBuffers();

} // namespace OrvelKit::Json
