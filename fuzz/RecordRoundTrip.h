#pragma once

// The codec's promise for one record type: whatever decodes also encodes, and
// decoding that encoding gives the same record back. An inbox or a sync
// answer that decoded but could not be written again would be lost at the
// next save.

#include "fuzz/FuzzCheck.h"
#include "orvelkit/json/Json.h"
#include "orvelkit/store/InboxFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace OrvelFuzz {

template <class Record>
std::optional<Record> decodeAndRoundTrip(std::string_view json) {
    auto decoded = OrvelKit::Json::decode<Record>(json);
    if (!decoded) {
        FUZZ_CHECK(!decoded.error().description().empty());
        return std::nullopt;
    }
    auto encoded = OrvelKit::Json::encode(*decoded);
    FUZZ_CHECK(encoded);
    auto again = OrvelKit::Json::decode<Record>(*encoded);
    FUZZ_CHECK(again);
    FUZZ_CHECK(*again == *decoded);
    return std::move(decoded).value();
}

// The same promise for a whole inbox in its file form: what the store writes
// loads back as the same inbox.
inline void checkInboxFileRoundTrip(const OrvelKit::Inbox& inbox) {
    std::string file;
    FUZZ_CHECK(OrvelKit::InboxFile::encode(inbox, [&](std::string_view json) { file = json; }));
    const auto loaded = OrvelKit::InboxFile::decode(file);
    FUZZ_CHECK(loaded && *loaded == inbox);
}

} // namespace OrvelFuzz
