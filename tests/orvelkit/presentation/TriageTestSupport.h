#pragma once

// Small inboxes for the triage, briefing and indicator tests.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/time/Date.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace TriageTest {

using OrvelProtocol::Notification;

// A date from an internet timestamp that must read.
inline OrvelKit::Date at(const std::string& timestamp) {
    const auto date = OrvelKit::Presentation::parseISO(timestamp);
    if (!date) {
        throw std::invalid_argument("unreadable test timestamp " + timestamp);
    }
    return *date;
}

// An update with id "<channel>-<seq>" and title "title <channel>-<seq>".
inline Notification note(std::string channel, std::uint64_t seq, std::string createdAt,
                         std::optional<std::string> status = std::nullopt,
                         std::optional<std::string> sender = std::nullopt) {
    Notification notification;
    notification.id = channel + "-" + std::to_string(seq);
    notification.title = "title " + notification.id;
    notification.channel = std::move(channel);
    notification.seq = seq;
    notification.createdAt = std::move(createdAt);
    notification.status = std::move(status);
    notification.sender = std::move(sender);
    return notification;
}

inline OrvelKit::ChannelInbox channel(std::string id, std::vector<Notification> notifications,
                                      std::uint64_t lastReadSeq = 0,
                                      OrvelKit::SequenceSet dismissed = {}) {
    return OrvelKit::ChannelInbox(std::move(id), std::nullopt, false, std::move(notifications), {},
                                  lastReadSeq, 0, 0, std::move(dismissed));
}

template <class Rows>
std::vector<std::string> ids(const Rows& rows) {
    std::vector<std::string> result;
    for (const auto& row : rows) {
        result.push_back(row.id);
    }
    return result;
}

} // namespace TriageTest
