#pragma once

// Dates written as RFC 3339 internet date-time text in UTC, to the second:
// "2026-12-06T10:15:30Z". Used for the timestamps the app creates itself
// (channel creation, sample data).

#include "orvelkit/time/Date.h"

#include <string>

namespace OrvelKit {

// Fractional seconds are dropped (the time is rounded down to the second).
// Years outside 0000...9999 are clamped to those ends.
std::string formatInternetDateTime(Date date);

} // namespace OrvelKit
