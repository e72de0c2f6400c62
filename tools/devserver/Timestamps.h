#pragma once

// Timestamps as the service writes them: RFC 3339, UTC, with milliseconds
// ("2026-12-06T10:15:30.123Z"), and the millisecond counts the state file keeps.

#include <chrono>
#include <cstdint>
#include <string>

namespace OrvelDev {

using TimePoint = std::chrono::system_clock::time_point;

std::string formatTimestamp(TimePoint time);

// Milliseconds since the Unix epoch; times before it clamp to 0.
std::uint64_t toMillis(TimePoint time);
TimePoint fromMillis(std::uint64_t millis);

} // namespace OrvelDev
