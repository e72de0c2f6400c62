#include "orvelkit/inbox/ChannelInbox.h"

#include "orvelkit/inbox/NewestFirstMerge.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace OrvelKit {

using OrvelProtocol::Notification;
using OrvelProtocol::PersistentCardUpdate;

namespace {

std::uint64_t seqOf(const Notification& notification) {
    return notification.seq;
}
std::uint64_t cardSeqOf(const PersistentCardUpdate& update) {
    return update.cardSeq;
}

// The records newest first. Stored lists (the inbox file) are already in
// that order, and moving large records through a stable sort costs more than
// the check, so a list in order is only moved into place.
template <class T, class SeqOf>
std::deque<T> newestFirst(std::vector<T> records, SeqOf seqOf) {
    const auto newer = [&](const T& a, const T& b) { return seqOf(a) > seqOf(b); };
    if (std::is_sorted(records.begin(), records.end(), newer)) {
        return std::deque<T>(std::make_move_iterator(records.begin()),
                             std::make_move_iterator(records.end()));
    }
    return NewestFirst::sorted(std::move(records), seqOf);
}

} // namespace

ChannelInbox::ChannelInbox(std::string channel, std::optional<std::string> name, bool owned,
                           std::vector<Notification> notifications,
                           std::vector<PersistentCardUpdate> cardUpdates, std::uint64_t lastReadSeq,
                           std::uint64_t latestSeq, std::uint64_t latestCardSeq,
                           SequenceSet dismissedSeqs)
    : channel_(std::move(channel)), name_(std::move(name)), owned_(owned),
      notifications_(newestFirst(std::move(notifications), seqOf)),
      cardUpdates_(newestFirst(std::move(cardUpdates), cardSeqOf)), lastReadSeq_(lastReadSeq),
      latestSeq_(latestSeq), latestCardSeq_(latestCardSeq),
      dismissedSeqs_(std::move(dismissedSeqs)),
      notificationsShareSeqs_(NewestFirst::hasDuplicates(notifications_, seqOf)),
      cardUpdatesShareSeqs_(NewestFirst::hasDuplicates(cardUpdates_, cardSeqOf)) {
    latestSeq_ = cursor();
    latestCardSeq_ = cardCursor();
}

bool ChannelInbox::isUnread(const Notification& notification) const {
    return notification.seq > lastReadSeq_;
}

std::size_t ChannelInbox::unreadCount() const {
    // Newest first, so the unread ones form the head of the list.
    const auto firstRead = NewestFirst::positionOf(notifications_, lastReadSeq_, seqOf);
    return static_cast<std::size_t>(std::distance(notifications_.begin(), firstRead));
}

std::uint64_t ChannelInbox::cursor() const {
    return notifications_.empty() ? latestSeq_ : std::max(latestSeq_, notifications_.front().seq);
}

std::uint64_t ChannelInbox::cardCursor() const {
    return cardUpdates_.empty() ? latestCardSeq_
                                : std::max(latestCardSeq_, cardUpdates_.front().cardSeq);
}

void ChannelInbox::markAllRead() {
    lastReadSeq_ = std::max(lastReadSeq_, cursor());
}

template <class Pulled>
bool ChannelInbox::mergeNotifications(Pulled&& pulled, std::optional<std::uint64_t> latestSeq) {
    const std::size_t count = notifications_.size();
    const std::uint64_t latest = latestSeq_;
    if (notificationsShareSeqs_) {
        NewestFirst::collapseDuplicates(notifications_, seqOf);
        notificationsShareSeqs_ = false;
    }
    const bool merged =
        NewestFirst::merge(notifications_, std::forward<Pulled>(pulled), channel_, seqOf);
    latestSeq_ = std::max(cursor(), latestSeq.value_or(0));
    return merged || notifications_.size() != count || latestSeq_ != latest;
}

template <class Pulled>
bool ChannelInbox::mergeCards(Pulled&& pulled, std::optional<std::uint64_t> latestCardSeq) {
    const std::size_t count = cardUpdates_.size();
    const std::uint64_t latest = latestCardSeq_;
    if (cardUpdatesShareSeqs_) {
        NewestFirst::collapseDuplicates(cardUpdates_, cardSeqOf);
        cardUpdatesShareSeqs_ = false;
    }
    const bool merged =
        NewestFirst::merge(cardUpdates_, std::forward<Pulled>(pulled), channel_, cardSeqOf);
    latestCardSeq_ = std::max(cardCursor(), latestCardSeq.value_or(0));
    return merged || cardUpdates_.size() != count || latestCardSeq_ != latest;
}

bool ChannelInbox::merge(const std::vector<Notification>& pulled,
                         std::optional<std::uint64_t> latestSeq) {
    return mergeNotifications(pulled, latestSeq);
}

bool ChannelInbox::merge(std::vector<Notification>&& pulled,
                         std::optional<std::uint64_t> latestSeq) {
    return mergeNotifications(std::move(pulled), latestSeq);
}

bool ChannelInbox::mergeCardUpdates(const std::vector<PersistentCardUpdate>& pulled,
                                    std::optional<std::uint64_t> latestCardSeq) {
    return mergeCards(pulled, latestCardSeq);
}

bool ChannelInbox::mergeCardUpdates(std::vector<PersistentCardUpdate>&& pulled,
                                    std::optional<std::uint64_t> latestCardSeq) {
    return mergeCards(std::move(pulled), latestCardSeq);
}

bool ChannelInbox::applySync(std::vector<Notification> notifications, std::uint64_t latestSeq,
                             std::uint64_t readSeq, std::vector<PersistentCardUpdate> cardUpdates,
                             std::uint64_t latestCardSeq, const std::optional<std::string>& name,
                             std::optional<bool> owned,
                             const std::vector<std::uint64_t>& dismissedSeqs) {
    bool changed = merge(std::move(notifications), latestSeq);
    changed |= mergeCardUpdates(std::move(cardUpdates), latestCardSeq);
    changed |= readSeq > lastReadSeq_;
    lastReadSeq_ = std::max(lastReadSeq_, readSeq);
    const std::size_t dismissedBefore = dismissedSeqs_.size();
    dismissedSeqs_.insert(dismissedSeqs.begin(), dismissedSeqs.end());
    changed |= dismissedSeqs_.size() != dismissedBefore;
    if (name && !name->empty() && name_ != name) {
        name_ = name;
        changed = true;
    }
    if (owned && owned_ != *owned) {
        owned_ = *owned;
        changed = true;
    }
    return changed;
}

void ChannelInbox::dismiss(std::uint64_t seq) {
    dismissedSeqs_.insert(seq);
}

bool ChannelInbox::isDismissed(std::uint64_t seq) const {
    return dismissedSeqs_.contains(seq);
}

bool ChannelInbox::operator==(const ChannelInbox& other) const {
    return channel_ == other.channel_ && name_ == other.name_ && owned_ == other.owned_ &&
           lastReadSeq_ == other.lastReadSeq_ && latestSeq_ == other.latestSeq_ &&
           latestCardSeq_ == other.latestCardSeq_ && dismissedSeqs_ == other.dismissedSeqs_ &&
           notifications_ == other.notifications_ && cardUpdates_ == other.cardUpdates_;
}

} // namespace OrvelKit
