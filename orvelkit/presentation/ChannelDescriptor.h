#pragma once

// The channel list of the Channels and Settings screens and the expanded
// activity window: every channel the configuration or the inbox knows, with
// its display name, whether the user owns it, and how lively it is.

#include "orvelkit/config/AppConfig.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/json/Enumeration.h"
#include "orvelkit/time/Date.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OrvelKit {

// How long ago a channel's newest update arrived: `pending` before the first
// one, `active` within a day, `quiet` within 36 hours, `idle` after that.
enum class ChannelActivity { pending, active, quiet, idle };

struct ChannelDescriptor {
    // The channel's identifier; also its identity.
    std::string channel;
    // The name the service reported (as reported, even when empty), else the
    // sender of its newest update that has one (trimmed), else the id.
    std::string name;
    bool owned = false;
    ChannelActivity activity = ChannelActivity::pending;
    // One line of status, e.g. "Active · updated 5m ago".
    std::string detail;
    // When the newest update was created, when that reads as a timestamp.
    std::optional<Date> lastActivityAt;
    // When the channel was created, from the configuration, when it reads.
    std::optional<Date> createdAt;

    const std::string& id() const { return channel; }

    bool operator==(const ChannelDescriptor&) const = default;
};

namespace Presentation {

// Every channel of the configuration or the inbox (each once), most recently
// active first: ordered by the newest update's time, else the channel's
// creation time, else last; equal times by id ascending. Where the
// configuration lists an id twice its first entry counts.
std::vector<ChannelDescriptor> channels(const AppConfig& config, const Inbox& inbox, Date now);

// The short list for compact places: of `channels`, the first two pending
// channels and every active or quiet one, in the full list's order, at most
// `limit` of them. Idle channels are never shown here.
std::vector<ChannelDescriptor> visibleChannels(const AppConfig& config, const Inbox& inbox,
                                               Date now, std::size_t limit);

} // namespace Presentation
} // namespace OrvelKit

namespace OrvelKit::Json {

template <>
struct EnumTraits<OrvelKit::ChannelActivity> {
    using E = OrvelKit::ChannelActivity;
    static constexpr std::array cases{std::pair{E::pending, std::string_view("pending")},
                                      std::pair{E::active, std::string_view("active")},
                                      std::pair{E::quiet, std::string_view("quiet")},
                                      std::pair{E::idle, std::string_view("idle")}};
};

} // namespace OrvelKit::Json
