#pragma once

// What the detail screen of one update shows beyond its row: the name of the
// agent that asks for approval, and the update's first link that a browser
// can open.

#include "orvelkit/protocol/Notification.h"

#include <optional>
#include <string>
#include <vector>

namespace OrvelKit {

// A link of an update that may be opened in the browser.
struct OpenableLink {
    std::string label;
    // The URL as the URL parser normalised it (the scheme in lower case).
    std::string url;

    bool operator==(const OpenableLink&) const = default;
};

namespace Presentation {

// The agent named in the approval hint: the sender (or the channel when the
// sender is absent or empty) cut at each "·" (U+00B7), the first piece that
// is not blank, without its surrounding white space; "the agent" when every
// piece is blank.
std::string approvingAgentName(const OrvelProtocol::Notification& notification);

// The first link, in order, whose URL parses and whose scheme is http or
// https in any case; nothing when there is none.
std::optional<OpenableLink> firstOpenableLink(const std::vector<OrvelProtocol::Link>& links);

} // namespace Presentation
} // namespace OrvelKit
