#include "orvelkit/inbox/Inbox.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace OrvelKit {

using OrvelProtocol::ChannelSync;
using OrvelProtocol::Notification;
using OrvelProtocol::PersistentCardUpdate;

namespace {

ChannelInbox emptyChannel(std::string id, std::optional<std::string> name, bool owned) {
    return ChannelInbox(std::move(id), std::move(name), owned, {}, {}, 0, 0, 0, {});
}

} // namespace

Inbox::Inbox(std::vector<ChannelInbox> channels) {
    std::unordered_set<std::string> seen;
    channels_.reserve(channels.size());
    for (ChannelInbox& entry : channels) {
        if (seen.insert(entry.channel()).second) {
            channels_.push_back(std::move(entry));
        }
    }
}

const ChannelInbox* Inbox::channel(std::string_view id) const {
    const auto at = std::find_if(channels_.begin(), channels_.end(),
                                 [&](const ChannelInbox& entry) { return entry.channel() == id; });
    return at == channels_.end() ? nullptr : &*at;
}

ChannelInbox* Inbox::find(std::string_view id) {
    return const_cast<ChannelInbox*>(std::as_const(*this).channel(id));
}

std::vector<const Notification*> Inbox::allRefs() const {
    // Each channel's list is already newest first: merge them, taking the
    // earlier channel first among equal numbers.
    using Position = std::deque<Notification>::const_iterator;
    struct Head {
        std::uint64_t seq;
        std::size_t channel;
        Position at;
        Position end;
    };
    const auto after = [](const Head& a, const Head& b) {
        return a.seq != b.seq ? a.seq < b.seq : a.channel > b.channel;
    };
    std::vector<Head> heads;
    std::size_t total = 0;
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        const auto& list = channels_[i].notifications();
        total += list.size();
        if (!list.empty()) {
            heads.push_back({list.front().seq, i, list.begin(), list.end()});
        }
    }
    std::make_heap(heads.begin(), heads.end(), after);

    std::vector<const Notification*> result;
    result.reserve(total);
    while (!heads.empty()) {
        std::pop_heap(heads.begin(), heads.end(), after);
        Head& head = heads.back();
        result.push_back(&*head.at);
        if (++head.at != head.end) {
            head.seq = head.at->seq;
            std::push_heap(heads.begin(), heads.end(), after);
        } else {
            heads.pop_back();
        }
    }
    return result;
}

std::vector<Notification> Inbox::all() const {
    std::vector<Notification> result;
    const auto refs = allRefs();
    result.reserve(refs.size());
    for (const Notification* notification : refs) {
        result.push_back(*notification);
    }
    return result;
}

std::vector<const PersistentCardUpdate*> Inbox::allCardUpdateRefs() const {
    std::vector<const PersistentCardUpdate*> result;
    for (const ChannelInbox& entry : channels_) {
        for (const PersistentCardUpdate& update : entry.cardUpdates()) {
            result.push_back(&update);
        }
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const PersistentCardUpdate* a, const PersistentCardUpdate* b) {
                         if (a->createdAt != b->createdAt) {
                             return a->createdAt > b->createdAt;
                         }
                         return a->cardSeq > b->cardSeq;
                     });
    return result;
}

std::vector<PersistentCardUpdate> Inbox::allCardUpdates() const {
    std::vector<PersistentCardUpdate> result;
    const auto refs = allCardUpdateRefs();
    result.reserve(refs.size());
    for (const PersistentCardUpdate* update : refs) {
        result.push_back(*update);
    }
    return result;
}

std::size_t Inbox::totalUnread() const {
    std::size_t total = 0;
    for (const ChannelInbox& entry : channels_) {
        total += entry.unreadCount();
    }
    return total;
}

void Inbox::merge(const std::string& channel, const std::vector<Notification>& pulled,
                  std::uint64_t latestSeq) {
    if (ChannelInbox* entry = find(channel)) {
        entry->merge(pulled, latestSeq);
        return;
    }
    ChannelInbox entry = emptyChannel(channel, std::nullopt, false);
    entry.merge(pulled, latestSeq);
    channels_.push_back(std::move(entry));
}

void Inbox::mergeCardUpdates(const std::string& channel,
                             const std::vector<PersistentCardUpdate>& pulled,
                             std::uint64_t latestCardSeq) {
    if (ChannelInbox* entry = find(channel)) {
        entry->mergeCardUpdates(pulled, latestCardSeq);
        return;
    }
    ChannelInbox entry = emptyChannel(channel, std::nullopt, false);
    entry.mergeCardUpdates(pulled, latestCardSeq);
    channels_.push_back(std::move(entry));
}

void Inbox::markAllRead() {
    for (ChannelInbox& entry : channels_) {
        entry.markAllRead();
    }
}

template <class Records>
bool Inbox::applySyncRecords(Records&& records) {
    constexpr bool moving = !std::is_lvalue_reference_v<Records>;
    // Copies a record's list, or moves it out when the records are ours.
    const auto take = [](auto& list) {
        if constexpr (moving) {
            return std::move(list);
        } else {
            return list;
        }
    };

    std::unordered_set<std::string_view> reported;
    for (const ChannelSync& record : records) {
        reported.insert(record.channel);
    }
    bool changed = std::erase_if(channels_, [&](const ChannelInbox& entry) {
                       return !reported.contains(entry.channel());
                   }) > 0;

    std::unordered_map<std::string, std::size_t> positions;
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        positions.emplace(channels_[i].channel(), i);
    }

    for (auto& record : records) {
        const bool owned = record.owned.value_or(false);
        if (const auto at = positions.find(record.channel); at != positions.end()) {
            changed |= channels_[at->second].applySync(take(record.notifications), record.latestSeq,
                                                       record.readSeq, take(record.cardUpdates),
                                                       record.latestCardSeq, record.name, owned,
                                                       record.dismissedSeqs);
            continue;
        }
        ChannelInbox entry = emptyChannel(record.channel, record.name, owned);
        entry.applySync(take(record.notifications), record.latestSeq, record.readSeq,
                        take(record.cardUpdates), record.latestCardSeq, std::nullopt, std::nullopt,
                        record.dismissedSeqs);
        positions.emplace(record.channel, channels_.size());
        channels_.push_back(std::move(entry));
        changed = true;
    }
    return changed;
}

bool Inbox::applySync(const std::vector<ChannelSync>& records) {
    return applySyncRecords(records);
}

bool Inbox::applySync(std::vector<ChannelSync>&& records) {
    return applySyncRecords(std::move(records));
}

void Inbox::remove(std::string_view channel) {
    std::erase_if(channels_, [&](const ChannelInbox& entry) { return entry.channel() == channel; });
}

void Inbox::dismiss(std::string_view channel, std::uint64_t seq) {
    if (ChannelInbox* entry = find(channel)) {
        entry->dismiss(seq);
    }
}

ChannelSequenceSets Inbox::dismissedSequences() const {
    ChannelSequenceSets result;
    for (const ChannelInbox& entry : channels_) {
        if (!entry.dismissedSeqs().empty()) {
            result.emplace(entry.channel(), entry.dismissedSeqs());
        }
    }
    return result;
}

ChannelSequenceSets Inbox::pendingDismissals(const ChannelSequenceSets& service) const {
    ChannelSequenceSets result;
    if (service.empty()) {
        return result;
    }
    for (const ChannelInbox& entry : channels_) {
        const auto recorded = service.find(entry.channel());
        if (recorded == service.end()) {
            continue;
        }
        SequenceSet missing;
        std::set_difference(entry.dismissedSeqs().begin(), entry.dismissedSeqs().end(),
                            recorded->second.begin(), recorded->second.end(),
                            std::inserter(missing, missing.end()));
        if (!missing.empty()) {
            result.emplace(entry.channel(), std::move(missing));
        }
    }
    return result;
}

ChannelCursors Inbox::syncCursors() const {
    ChannelCursors result;
    for (const ChannelInbox& entry : channels_) {
        result.emplace(entry.channel(), entry.cursor());
    }
    return result;
}

ChannelCursors Inbox::cardSyncCursors() const {
    ChannelCursors result;
    for (const ChannelInbox& entry : channels_) {
        result.emplace(entry.channel(), entry.cardCursor());
    }
    return result;
}

} // namespace OrvelKit
