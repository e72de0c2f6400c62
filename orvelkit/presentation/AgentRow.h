#pragma once

// The rows that triage produces: one per update, the same rows gathered per
// source, and a small digest of the whole inbox.

#include "orvelkit/presentation/StatusDot.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

namespace OrvelKit {

// One update as a row of the inbox screens.
struct AgentRow {
    // The update's id.
    std::string id;
    // Who sent it: the sender when present and not empty, else the channel.
    std::string agent;
    // The update's title.
    std::string summary;
    // The update's age as short text ("now", "5m", "2h", "3d"); empty when its
    // timestamp cannot be read.
    std::string relativeTime;
    StatusDot dot = StatusDot::info;
    InboxSection section = InboxSection::away;
    bool isUnread = false;

    bool operator==(const AgentRow&) const = default;
};

// The rows of one source (an agent on a channel), newest first.
struct ActivityGroup {
    // The source key: channel, U+001F, sender (or the channel again).
    std::string id;
    // The agent of the newest row.
    std::string agent;
    // At least one row.
    std::vector<AgentRow> rows;

    bool operator==(const ActivityGroup&) const = default;
};

struct Digest {
    // Distinct channels among the updates.
    std::size_t updated = 0;
    // Updates whose status is "need".
    std::size_t needYou = 0;
    // Updates whose status is "done" or "idle".
    std::size_t silenced = 0;

    bool operator==(const Digest&) const = default;
};

// Every update of the inbox as rows, newest first, split and grouped.
struct TriagedInbox {
    std::vector<AgentRow> rows;
    // One group per source, ordered by each source's newest update.
    std::vector<ActivityGroup> activityGroups;
    Digest digest;

    // The rows in section `needsYou`, in the order of `rows`. Derived from
    // `rows` when asked for, so a triage does not hold every row three times.
    std::vector<AgentRow> needsYou() const { return rowsIn(InboxSection::needsYou); }
    // The rows in section `away`, in the order of `rows`.
    std::vector<AgentRow> away() const { return rowsIn(InboxSection::away); }
    std::vector<AgentRow> rowsIn(InboxSection section) const {
        std::vector<AgentRow> selected;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(selected),
                     [section](const AgentRow& row) { return row.section == section; });
        return selected;
    }

    // Updates held back from attention: the silenced ones.
    std::size_t heldBack() const { return digest.silenced; }
    std::size_t totalUnread() const {
        return static_cast<std::size_t>(std::count_if(
            rows.begin(), rows.end(), [](const AgentRow& row) { return row.isUnread; }));
    }

    bool operator==(const TriagedInbox&) const = default;
};

} // namespace OrvelKit
