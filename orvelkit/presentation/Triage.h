#pragma once

// Triage: every update of the inbox as a row, newest first, marked with its
// status dot, its section and whether it is unread; the same rows per source;
// and a digest. Dismissed updates are kept (only the smart briefing hides
// them).

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/AgentRow.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/time/Date.h"

#include <string>
#include <vector>

namespace OrvelKit::Presentation {

// The update's status read as a recognised value (exact, case-sensitive
// match); a missing or unrecognised status reads as `info`.
OrvelProtocol::Status effectiveStatus(const OrvelProtocol::Notification& notification);

// Whether the update asks for a decision: its status is exactly "need".
bool needsYou(const OrvelProtocol::Notification& notification);

// The source an update belongs to: its channel, the unit separator U+001F,
// and its sender (or the channel again when the sender is absent or empty).
std::string sourceKey(const OrvelProtocol::Notification& notification);

// The row of one update.
AgentRow agentRow(const OrvelProtocol::Notification& notification, bool isUnread, Date now);

// Every update of the inbox as rows, newest first. An update is unread when
// its channel has no entry or the entry's read mark lies below its `seq`.
TriagedInbox triaged(const Inbox& inbox, Date now);

// Distinct channels, updates that need a decision, and updates that are done
// or idle.
Digest digest(const std::vector<OrvelProtocol::Notification>& notifications);

} // namespace OrvelKit::Presentation
