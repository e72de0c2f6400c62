#pragma once

// The endpoint paths that carry arguments. Both fail (nothing) when a channel
// identifier is not valid UTF-8 and so cannot be percent-encoded.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// "c/<channel>/pull?after=<after>", the channel percent-encoded for a path.
std::optional<std::string> pullPath(std::string_view channel, std::uint64_t after);

// "sync", then "?after=…" and/or "cards_after=…" (joined by "&", in that
// order) for the non-empty cursor maps. Each value lists "channel:seq" items
// sorted as texts and joined by ",", percent-encoded for a query.
std::optional<std::string> syncPath(const std::map<std::string, std::uint64_t>& cursors,
                                    const std::map<std::string, std::uint64_t>& cardCursors);

} // namespace OrvelKit
