#include "orvel/core/SyncAnnouncements.h"

namespace Orvel {

SyncAnnouncements
SyncAnnouncements::plan(const std::vector<const OrvelProtocol::Notification*>& selected,
                        const std::set<std::string, std::less<>>& backlogChannels,
                        bool onlyInterrupt) {
    SyncAnnouncements result;
    SyncSummary summary;
    // Newest first: the last of the ascending order are the ones shown.
    for (auto at = selected.rbegin(); at != selected.rend(); ++at) {
        const OrvelProtocol::Notification* update = *at;
        const bool needing = update->status == "need";
        if (onlyInterrupt && !needing) {
            continue;
        }
        if (!backlogChannels.contains(update->channel) && result.oneByOne.size() < oneByOneLimit) {
            result.oneByOne.push_back(*update);
            continue;
        }
        ++summary.count;
        summary.needing += needing ? 1 : 0;
    }
    if (summary.count > 0) {
        summary.afterOneByOne = !result.oneByOne.empty();
        result.summary = summary;
    }
    return result;
}

} // namespace Orvel
