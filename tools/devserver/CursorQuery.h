#pragma once

// Reading request targets: percent-decoding, query items, and the cursor
// lists of sync ("after=a:12,b:3"). Every malformed input is an error value,
// never a guess.

#include "orvelkit/support/Expected.h"
#include "tools/devserver/DevService.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OrvelDev {

// Decodes %XX escapes. A "%" without two hexadecimal digits is an error. "+"
// stays a plus sign.
OrvelKit::Expected<std::string, std::string> percentDecode(std::string_view text);

// Splits "a=1&b=2" into decoded (name, value) pairs, in order. An item
// without "=" has an empty value; empty items are skipped.
OrvelKit::Expected<std::vector<std::pair<std::string, std::string>>, std::string>
parseQuery(std::string_view query);

// A decimal unsigned 64-bit number: digits only, no sign, no overflow.
OrvelKit::Expected<std::uint64_t, std::string> parseSequence(std::string_view text);

// "a:12,b:3" (already decoded) into cursors. Each item is a channel, a colon
// and a sequence number; the last colon separates them. An empty text is an
// empty list; an empty channel, a bad number or a channel named twice is an
// error.
OrvelKit::Expected<Cursors, std::string> parseCursors(std::string_view text);

} // namespace OrvelDev
