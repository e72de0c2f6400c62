#include "orvelkit/presentation/UpdateFilter.h"

#include <algorithm>
#include <iterator>

namespace OrvelKit {

std::string_view title(UpdateFilter filter) {
    switch (filter) {
    case UpdateFilter::all:
        return "All";
    case UpdateFilter::unread:
        return "Unread";
    case UpdateFilter::needsYou:
        return "Needs you";
    case UpdateFilter::running:
        return "Running";
    case UpdateFilter::failed:
        return "Failed";
    }
    return {};
}

bool includes(UpdateFilter filter, const AgentRow& row) {
    switch (filter) {
    case UpdateFilter::all:
        return true;
    case UpdateFilter::unread:
        return row.isUnread;
    case UpdateFilter::needsYou:
        return row.dot == StatusDot::need;
    case UpdateFilter::running:
        return row.dot == StatusDot::running;
    case UpdateFilter::failed:
        return row.dot == StatusDot::failed;
    }
    return false;
}

namespace Presentation {

std::vector<AgentRow> filteredUpdates(const std::vector<AgentRow>& rows, UpdateFilter filter) {
    std::vector<AgentRow> kept;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept),
                 [filter](const AgentRow& row) { return includes(filter, row); });
    return kept;
}

std::vector<ActivityGroup> filteredActivityGroups(const std::vector<ActivityGroup>& groups,
                                                  UpdateFilter filter) {
    std::vector<ActivityGroup> kept;
    for (const ActivityGroup& group : groups) {
        std::vector<AgentRow> rows = filteredUpdates(group.rows, filter);
        if (!rows.empty()) {
            kept.push_back(ActivityGroup{group.id, group.agent, std::move(rows)});
        }
    }
    return kept;
}

} // namespace Presentation
} // namespace OrvelKit
