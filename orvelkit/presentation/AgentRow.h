#pragma once

// The rows that triage produces: one per update, the same rows gathered per
// source, and a small digest of the whole inbox.

#include "orvelkit/presentation/StatusDot.h"

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
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

// An immutable list of rows that is cheap to copy. Triage builds each row
// once: the row list and every group refer to the same rows, each group by
// their positions. Reads like a `const std::vector<AgentRow>` (size, indexing,
// random-access iteration, equality by content) and converts to one for code
// that takes a vector; a vector or a braced list of rows converts to a list.
class AgentRowList {
public:
    using value_type = AgentRow;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = const AgentRow&;
    using const_reference = const AgentRow&;
    using pointer = const AgentRow*;
    using const_pointer = const AgentRow*;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = AgentRow;
        using difference_type = std::ptrdiff_t;
        using reference = const AgentRow&;
        using pointer = const AgentRow*;

        const_iterator() = default;

        reference operator*() const { return rows_[positions_ ? positions_[index_] : index_]; }
        pointer operator->() const { return &**this; }
        reference operator[](difference_type offset) const { return *(*this + offset); }

        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++index_;
            return old;
        }
        const_iterator& operator--() {
            --index_;
            return *this;
        }
        const_iterator operator--(int) {
            const_iterator old = *this;
            --index_;
            return old;
        }
        const_iterator& operator+=(difference_type offset) {
            index_ = static_cast<std::size_t>(static_cast<difference_type>(index_) + offset);
            return *this;
        }
        const_iterator& operator-=(difference_type offset) { return *this += -offset; }
        friend const_iterator operator+(const_iterator it, difference_type offset) {
            return it += offset;
        }
        friend const_iterator operator+(difference_type offset, const_iterator it) {
            return it += offset;
        }
        friend const_iterator operator-(const_iterator it, difference_type offset) {
            return it -= offset;
        }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.index_ == b.index_;
        }
        friend std::strong_ordering operator<=>(const const_iterator& a, const const_iterator& b) {
            return a.index_ <=> b.index_;
        }

    private:
        friend class AgentRowList;
        const_iterator(const AgentRow* rows, const std::uint32_t* positions, std::size_t index)
            : rows_(rows), positions_(positions), index_(index) {}

        const AgentRow* rows_ = nullptr;
        const std::uint32_t* positions_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using reverse_iterator = std::reverse_iterator<const_iterator>;
    using const_reverse_iterator = reverse_iterator;

    AgentRowList() = default;
    AgentRowList(std::vector<AgentRow> rows)
        : storage_(rows.empty() ? nullptr
                                : std::make_shared<const std::vector<AgentRow>>(std::move(rows))) {}
    AgentRowList(std::initializer_list<AgentRow> rows)
        : AgentRowList(std::vector<AgentRow>(rows)) {}
    // All rows of `storage`, in order.
    explicit AgentRowList(std::shared_ptr<const std::vector<AgentRow>> storage)
        : storage_(storage && !storage->empty() ? std::move(storage) : nullptr) {}
    // The rows of `storage` at `positions`, in that order; every position
    // must lie inside `storage`.
    AgentRowList(std::shared_ptr<const std::vector<AgentRow>> storage,
                 std::vector<std::uint32_t> positions)
        : storage_(positions.empty() ? nullptr : std::move(storage)),
          positions_(std::move(positions)) {}

    size_type size() const {
        return !positions_.empty() ? positions_.size() : storage_ ? storage_->size() : 0;
    }
    bool empty() const { return size() == 0; }

    const_iterator begin() const {
        return {storage_ ? storage_->data() : nullptr,
                positions_.empty() ? nullptr : positions_.data(), 0};
    }
    const_iterator end() const { return begin() + static_cast<difference_type>(size()); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    const AgentRow& operator[](size_type index) const {
        return begin()[static_cast<difference_type>(index)];
    }
    const AgentRow& front() const { return (*this)[0]; }
    const AgentRow& back() const { return (*this)[size() - 1]; }

    std::vector<AgentRow> toVector() const { return std::vector<AgentRow>(begin(), end()); }
    operator std::vector<AgentRow>() const { return toVector(); }

    friend bool operator==(const AgentRowList& a, const AgentRowList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const AgentRowList& a, const std::vector<AgentRow>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    std::shared_ptr<const std::vector<AgentRow>> storage_;
    // Empty when the list is the whole of `storage_`.
    std::vector<std::uint32_t> positions_;
};

// The rows of one source (an agent on a channel), newest first.
struct ActivityGroup {
    // The source key: channel, U+001F, sender (or the channel again).
    std::string id;
    // The agent of the newest row.
    std::string agent;
    // At least one row.
    AgentRowList rows;

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
    AgentRowList rows;
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
