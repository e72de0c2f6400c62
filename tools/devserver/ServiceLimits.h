#pragma once

// What one client may ask of the service. The defaults leave room for demos,
// tests and busy agents; a service open to others may want them lower.

#include <cstddef>
#include <cstdint>

namespace OrvelDev {

struct ServiceLimits {
    // Request bodies over this many bytes are refused with 413.
    std::size_t maxRequestBytes = 4 * 1024 * 1024;
    // Texts of an update, in characters (Unicode code points): the title and
    // the sender; the body and the details; each field's and link's label and
    // value. Longer ones are refused with 400 naming the field.
    std::size_t maxTitleChars = 1000;
    std::size_t maxTextChars = 65536;
    std::size_t maxLabelChars = 2000;
    // Publishes (updates and card updates together) per publish token: a
    // burst of `publishBurst`, refilled at `publishesPerMinute`. Beyond that,
    // 429 with Retry-After. Zero turns the limit off.
    std::uint32_t publishesPerMinute = 6000;
    std::uint32_t publishBurst = 1000;
    // Live (not retired) channels one account may own; more are refused with 403.
    std::size_t maxChannelsPerAccount = 1000;
};

} // namespace OrvelDev
