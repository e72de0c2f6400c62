#include "orvelkit/presentation/BriefingTexts.h"

namespace OrvelKit::Presentation {

namespace {

std::string upperCased(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// "1 update", "4 updates".
std::string counted(std::size_t count, const char* noun) {
    std::string phrase = std::to_string(count) + " " + noun;
    if (count != 1) {
        phrase += "s";
    }
    return phrase;
}

} // namespace

BriefingEyebrow briefingEyebrow(BriefingPeriod period) {
    BriefingEyebrow eyebrow;
    switch (period) {
    case BriefingPeriod::morning:
        eyebrow.symbol = "sunrise";
        eyebrow.label = "Morning briefing";
        break;
    case BriefingPeriod::afternoon:
        eyebrow.symbol = "sparkles";
        eyebrow.label = "Afternoon check-in";
        break;
    case BriefingPeriod::evening:
        eyebrow.symbol = "sparkles";
        eyebrow.label = "Evening wrap-up";
        break;
    case BriefingPeriod::night:
        eyebrow.symbol = "sparkles";
        eyebrow.label = "Quiet-hours check-in";
        break;
    }
    eyebrow.displayLabel = upperCased(eyebrow.label);
    return eyebrow;
}

std::string briefingHeadline(const SmartBriefing& briefing) {
    if (briefing.attention.empty()) {
        return "Everything is covered";
    }
    switch (briefing.period) {
    case BriefingPeriod::morning:
        return "While you were away";
    case BriefingPeriod::afternoon:
        return "A few things need you";
    case BriefingPeriod::evening:
        return "Before you wrap up";
    case BriefingPeriod::night:
        return "Only the important things";
    }
    return "Everything is covered";
}

std::string briefingScopePhrase(BriefingScope scope) {
    switch (scope) {
    case BriefingScope::sinceLastVisit:
        return "since your last visit";
    case BriefingScope::overnight:
        return "overnight";
    case BriefingScope::thisMorning:
        return "this morning";
    case BriefingScope::thisAfternoon:
        return "this afternoon";
    case BriefingScope::thisEvening:
        return "this evening";
    }
    return {};
}

std::string briefingSummary(const SmartBriefing& briefing) {
    const std::size_t attention = briefing.attention.size();
    const std::string scope = briefingScopePhrase(briefing.scope);
    if (briefing.updatesInWindow == 0) {
        if (attention == 0) {
            return "No new updates " + scope + ". Things are quiet.";
        }
        return "Nothing new " + scope + ". " + std::to_string(attention) +
               " earlier items still need attention.";
    }
    // The channel count counts sources (an agent on a channel).
    const std::string activity = counted(briefing.updatesInWindow, "update") + " from " +
                                 counted(briefing.agentsInWindow, "channel") + " " + scope;
    if (attention == 0) {
        return activity + ". Nothing needs a decision.";
    }
    const std::string items = attention == 1
                                  ? std::string("1 item needs attention in total")
                                  : std::to_string(attention) + " items need attention in total";
    return items + ". " + activity + ".";
}

} // namespace OrvelKit::Presentation
