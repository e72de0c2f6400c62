#pragma once

// The row of a single update as the inbox list shows it, and the descriptor
// of the whole list with its unread badge. Dismissed updates are listed too.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/json/Enumeration.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/time/Calendar.h"
#include "orvelkit/time/Date.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OrvelKit {

// The accent a row is drawn with. `elevated` exists for the screens; no
// urgency maps to it.
enum class AccentRole { neutral, elevated, warning, critical };

// low and normal → neutral, high → warning, critical → critical.
constexpr AccentRole accent(OrvelProtocol::Urgency urgency) {
    switch (urgency) {
    case OrvelProtocol::Urgency::low:
    case OrvelProtocol::Urgency::normal:
        return AccentRole::neutral;
    case OrvelProtocol::Urgency::high:
        return AccentRole::warning;
    case OrvelProtocol::Urgency::critical:
        return AccentRole::critical;
    }
    return AccentRole::neutral;
}

// A labelled value of an update, numbered by its position from 0.
struct CardFieldDescriptor {
    std::size_t id = 0;
    std::string label;
    std::string value;

    bool operator==(const CardFieldDescriptor&) const = default;
};

struct InboxRowDescriptor {
    std::string id;
    std::string title;
    // The sender when present and not empty, else the channel.
    std::string sender;
    std::optional<std::string> body;
    std::optional<std::string> details;
    AccentRole accent = AccentRole::neutral;
    bool isUnread = false;
    // The update's age as short text; empty when its timestamp cannot be read.
    std::string relativeTime;
    // The update is a card rather than a plain message.
    bool isCard = false;
    std::vector<CardFieldDescriptor> fields;
    // The sender's colour as "#RRGGBB", when it has a usable one.
    std::optional<std::string> accentHex;
    std::vector<InboxImageDescriptor> images;
    // The update is held back until a later time.
    bool isPending = false;

    bool operator==(const InboxRowDescriptor&) const = default;
};

struct InboxDescriptor {
    // Every update, `seq` descending across channels.
    std::vector<InboxRowDescriptor> rows;
    // The number of unread updates, "99+" above 99; absent when none.
    std::optional<std::string> unreadBadge;
    bool isEmpty = true;

    bool operator==(const InboxDescriptor&) const = default;
};

namespace Presentation {

// A count as badge text: absent below 1, the number up to 99, "99+" above.
std::optional<std::string> countBadge(std::size_t count);

// The row of one update. Whether it is pending is judged by `calendar`; the
// first form uses the user's current calendar.
InboxRowDescriptor row(const OrvelProtocol::Notification& notification, bool isUnread, Date now);
InboxRowDescriptor row(const OrvelProtocol::Notification& notification, bool isUnread, Date now,
                       const Calendar& calendar);

// Every update of the inbox in the order of `Inbox::all`, each unread when its
// `seq` lies above the read mark of the channel entry that holds it. The first
// form judges pending updates by the user's current calendar.
InboxDescriptor inbox(const Inbox& inbox, Date now);
InboxDescriptor inbox(const Inbox& inbox, Date now, const Calendar& calendar);

} // namespace Presentation
} // namespace OrvelKit

namespace OrvelKit::Json {

template <>
struct EnumTraits<OrvelKit::AccentRole> {
    using E = OrvelKit::AccentRole;
    static constexpr std::array cases{std::pair{E::neutral, std::string_view("neutral")},
                                      std::pair{E::elevated, std::string_view("elevated")},
                                      std::pair{E::warning, std::string_view("warning")},
                                      std::pair{E::critical, std::string_view("critical")}};
};

} // namespace OrvelKit::Json
