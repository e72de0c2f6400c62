#pragma once

// The texts of the briefing header: the eyebrow above it, the headline and
// the one-sentence summary. Screens show these as they are.

#include "orvelkit/presentation/SmartBriefing.h"

#include <string>

namespace OrvelKit {

// The small line above the headline: a symbol and the period's label.
struct BriefingEyebrow {
    // Letter spacing of the upper-cased label, in points.
    static constexpr double tracking = 0.7;

    // The symbol's name, e.g. "sunrise".
    std::string symbol;
    // The label as written, e.g. "Morning briefing".
    std::string label;
    // The label as shown: upper-cased, e.g. "MORNING BRIEFING".
    std::string displayLabel;

    bool operator==(const BriefingEyebrow&) const = default;
};

namespace Presentation {

BriefingEyebrow briefingEyebrow(BriefingPeriod period);

// "Everything is covered" when nothing needs attention, else a line for the
// period ("While you were away" in the morning, ...).
std::string briefingHeadline(const SmartBriefing& briefing);

// How the summary names the window: "since your last visit", "overnight",
// "this morning", "this afternoon" or "this evening".
std::string briefingScopePhrase(BriefingScope scope);

// One sentence on the window's updates and the items that need attention,
// e.g. "4 updates from 1 channel overnight. Nothing needs a decision."
std::string briefingSummary(const SmartBriefing& briefing);

} // namespace Presentation
} // namespace OrvelKit
