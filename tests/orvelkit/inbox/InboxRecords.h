#pragma once

// Small hand-made records for the inbox tests: only the fields the inbox
// looks at are set, plus a title that tells copies of one number apart.

#include "orvelkit/inbox/ChannelInbox.h"
#include "orvelkit/protocol/Protocol.h"

#include <cstdint>
#include <string>
#include <vector>

namespace InboxRecords {

inline OrvelProtocol::Notification note(const std::string& channel, std::uint64_t seq,
                                        const std::string& title = "",
                                        const std::string& createdAt = "2024-05-01T10:00:00Z") {
    OrvelProtocol::Notification n;
    n.channel = channel;
    n.seq = seq;
    n.id = channel + "-" + std::to_string(seq);
    n.title = title.empty() ? "update " + std::to_string(seq) : title;
    n.createdAt = createdAt;
    return n;
}

inline OrvelProtocol::PersistentCardUpdate card(const std::string& channel, std::uint64_t cardSeq,
                                                const std::string& createdAt,
                                                const std::string& id = "") {
    OrvelProtocol::PersistentCardUpdate u;
    u.channel = channel;
    u.cardSeq = cardSeq;
    u.createdAt = createdAt;
    u.id = id.empty() ? channel + "-card-" + std::to_string(cardSeq) : id;
    u.cardKey = "tickets";
    u.operation.kind = "snapshot";
    return u;
}

inline OrvelKit::ChannelInbox channel(const std::string& id,
                                      std::vector<OrvelProtocol::Notification> notifications = {},
                                      std::uint64_t lastReadSeq = 0, std::uint64_t latestSeq = 0) {
    return OrvelKit::ChannelInbox(id, std::nullopt, false, std::move(notifications), {},
                                  lastReadSeq, latestSeq, 0, {});
}

inline OrvelProtocol::ChannelSync sync(const std::string& id, std::uint64_t latestSeq,
                                       std::vector<OrvelProtocol::Notification> notifications = {},
                                       std::uint64_t readSeq = 0) {
    OrvelProtocol::ChannelSync record;
    record.channel = id;
    record.latestSeq = latestSeq;
    record.notifications = std::move(notifications);
    record.readSeq = readSeq;
    return record;
}

// The numbers of a list, in its order.
template <class List>
std::vector<std::uint64_t> seqs(const List& list) {
    std::vector<std::uint64_t> result;
    for (const auto& n : list) {
        result.push_back(n.seq);
    }
    return result;
}

} // namespace InboxRecords
