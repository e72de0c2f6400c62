#pragma once

// A small, realistic inbox for development and demonstration: shown instead
// of an empty real inbox while "Show development data" is on. Never sent or
// saved.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/time/Date.h"

namespace Orvel::SampleData {

// Six channels, seven updates and one metric card, timed relative to `now`.
OrvelKit::Inbox inbox(OrvelKit::Date now);

} // namespace Orvel::SampleData
