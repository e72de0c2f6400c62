#pragma once

// What one sync announces on the desktop. A sync can bring hundreds of
// updates at once (the first sync of a device joining an account with
// history, the first after a long suspend); posting each would bury the
// desktop. So a sync posts at most `oneByOneLimit` updates one by one, the
// newest first, and one summary that counts the rest.
//
// The backlog of a channel this device had never synced before is history,
// not news: it is only counted in the summary. Later updates on that channel
// are announced like any other.

#include "orvelkit/protocol/Notification.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Orvel {

// The updates of one sync that were counted instead of posted.
struct SyncSummary {
    std::size_t count = 0;
    // How many of them have status "need".
    std::size_t needing = 0;
    // Whether other updates of the same sync were posted one by one.
    bool afterOneByOne = false;

    bool operator==(const SyncSummary&) const = default;
};

struct SyncAnnouncements {
    static constexpr std::size_t oneByOneLimit = 3;

    // Posted one by one, newest (highest `seq`) first.
    std::vector<OrvelProtocol::Notification> oneByOne;
    // Absent when every update was posted one by one.
    std::optional<SyncSummary> summary;

    // Plans the announcements for `selected` (the new, due updates of one
    // sync in ascending `seq` order). Only updates with status "need" are
    // announced at all while `onlyInterrupt` is on. Updates of
    // `backlogChannels` (channels without a local entry before this sync)
    // only go into the summary. Copies only the updates it posts one by one.
    static SyncAnnouncements plan(const std::vector<const OrvelProtocol::Notification*>& selected,
                                  const std::set<std::string, std::less<>>& backlogChannels,
                                  bool onlyInterrupt);
};

} // namespace Orvel
