#pragma once

// Small helpers that the presentation functions and the screens share:
// reading a wire timestamp, an update's age as short text, the label of its
// sender, its accent colour, and its image attachments.

#include "orvelkit/protocol/Notification.h"
#include "orvelkit/time/Date.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace OrvelKit {

// An image attachment that can be shown.
struct InboxImageDescriptor {
    // The attachment's position in the update's attachment list, from 0,
    // counting attachments that were skipped.
    std::size_t id = 0;
    // The attachment's URL as the URL parser normalised it (the scheme in
    // lower case, an empty path written as "/").
    std::string url;
    std::optional<std::string> alt;
    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;

    bool operator==(const InboxImageDescriptor&) const = default;
};

namespace Presentation {

// Reads an internet date-time: "YYYY-MM-DDTHH:MM:SS", an optional fraction of
// a second ("." and one or more digits; digits past the microsecond are
// ignored), then "Z" or an offset "+HH:MM" / "-HH:MM". Nothing else is
// accepted: no lower-case "t" or "z", no space for "T", no missing zone, no
// surrounding white space. Fields are range-checked (month 1-12, day within
// its month, hour 0-23, minute 0-59, offset up to 23:59). A leap second
// (second 60) is accepted only at 23:59:60 UTC and reads as the next second.
std::optional<Date> parseISO(std::string_view text);

// The age of an update as short text: "now" under a minute (and for a
// timestamp in the future), then whole minutes ("5m"), whole hours ("2h") and
// whole days ("3d"); empty when `createdAt` does not read as a timestamp.
std::string relativeTime(std::string_view createdAt, Date now);
// The same from an already parsed timestamp (empty when absent).
std::string relativeTime(std::optional<Date> created, Date now);

// The update's sender when present and not empty (as written), otherwise its
// channel.
std::string senderLabel(const OrvelProtocol::Notification& notification);

// An accent colour as "#RRGGBB" in upper case, from "RGB" or "RRGGBB" with an
// optional leading "#" and surrounding horizontal white space; absent for
// anything else.
std::optional<std::string> normalizeHex(const std::optional<std::string>& color);
std::optional<std::string> normalizeHex(std::string_view color);

// The normalised form of `text` (the scheme in lower case, an empty path
// written as "/") when it is an absolute http or https URL; the scheme is
// matched without regard to case.
std::optional<std::string> webURL(const std::string& text);

// The attachments that are http or https URLs, in order. A width or height
// that does not fit a signed 64-bit integer is treated as absent.
std::vector<InboxImageDescriptor>
imageDescriptors(const std::vector<OrvelProtocol::Attachment>& attachments);

} // namespace Presentation
} // namespace OrvelKit
