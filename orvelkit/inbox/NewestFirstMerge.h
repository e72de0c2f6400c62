#pragma once

// Merging pulled records into a channel's list kept newest first.
//
// A channel's updates and card updates are each held in a deque ordered by
// their sequence number, descending. A pulled record replaces the stored one
// with the same sequence number (the pulled copy always wins; among pulled
// copies of one number the last one wins), records from other channels are
// ignored, and the result stays ordered. News normally carries numbers above
// everything stored, so it is pushed onto the front; replacements are found
// by binary search; only a batch of late arrivals falling between stored
// records makes the merge walk the whole list.

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace OrvelKit::NewestFirst {

// True when two neighbours of a list ordered newest first share a number.
template <class T, class SeqOf>
bool hasDuplicates(const std::deque<T>& list, SeqOf seqOf) {
    return std::adjacent_find(list.begin(), list.end(), [&](const T& a, const T& b) {
               return seqOf(a) == seqOf(b);
           }) != list.end();
}

// Sorts newest first, keeping the given order among records with one number.
template <class T, class SeqOf>
std::deque<T> sorted(std::vector<T> records, SeqOf seqOf) {
    std::stable_sort(records.begin(), records.end(),
                     [&](const T& a, const T& b) { return seqOf(a) > seqOf(b); });
    return std::deque<T>(std::make_move_iterator(records.begin()),
                         std::make_move_iterator(records.end()));
}

// Keeps one record per number in a list ordered newest first: the one that
// comes last among those sharing it.
template <class T, class SeqOf>
void collapseDuplicates(std::deque<T>& list, SeqOf seqOf) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i + 1 < list.size() && seqOf(list[i + 1]) == seqOf(list[i])) {
            continue;
        }
        if (kept != i) {
            list[kept] = std::move(list[i]);
        }
        ++kept;
    }
    list.resize(kept);
}

// The first position whose number is at or below `seq`.
template <class List, class SeqOf>
auto positionOf(List& list, std::uint64_t seq, SeqOf seqOf) {
    return std::partition_point(list.begin(), list.end(),
                                [&](const auto& record) { return seqOf(record) > seq; });
}

// Merges `pulled` into `list`, which must be ordered newest first with one
// record per number. Records of channels other than `channel` are skipped.
// True when the list changed: a pulled copy equal to the stored one is no change.
// Pulled records are copied from a list given as const, and moved out of one
// given as an rvalue (the first sync of a long history brings 100,000 of them).
template <class T, class SeqOf, class Pulled>
requires std::same_as<std::remove_cvref_t<Pulled>, std::vector<T>>
bool merge(std::deque<T>& list, Pulled&& pulled, const std::string& channel, SeqOf seqOf) {
    constexpr bool moving =
        !std::is_lvalue_reference_v<Pulled> && !std::is_const_v<std::remove_reference_t<Pulled>>;
    using Pointer = std::conditional_t<moving, T*, const T*>;
    const auto take = [](Pointer record) -> decltype(auto) {
        if constexpr (moving) {
            return std::move(*record);
        } else {
            return *record;
        }
    };
    std::vector<Pointer> picked;
    picked.reserve(pulled.size());
    for (auto& record : pulled) {
        if (record.channel == channel) {
            picked.push_back(&record);
        }
    }
    if (picked.empty()) {
        return false;
    }

    // Newest first, one per number: the last pulled copy of a number wins.
    std::stable_sort(picked.begin(), picked.end(),
                     [&](Pointer a, Pointer b) { return seqOf(*a) > seqOf(*b); });
    std::size_t unique = 0;
    for (std::size_t i = 0; i < picked.size(); ++i) {
        if (i + 1 < picked.size() && seqOf(*picked[i + 1]) == seqOf(*picked[i])) {
            continue;
        }
        picked[unique++] = picked[i];
    }
    picked.resize(unique);

    // Records above everything stored go onto the front afterwards.
    std::size_t newer = 0;
    if (list.empty()) {
        newer = picked.size();
    } else {
        const std::uint64_t newest = seqOf(list.front());
        while (newer < picked.size() && seqOf(*picked[newer]) > newest) {
            ++newer;
        }
    }

    // The others replace a stored record or fall into a gap between two.
    std::vector<Pointer> late;
    bool replaced = false;
    for (std::size_t i = newer; i < picked.size(); ++i) {
        const std::uint64_t seq = seqOf(*picked[i]);
        auto at = positionOf(list, seq, seqOf);
        if (at != list.end() && seqOf(*at) == seq) {
            if (!(*at == *picked[i])) {
                *at = take(picked[i]);
                replaced = true;
            }
        } else {
            late.push_back(picked[i]);
        }
    }

    // A few late arrivals are inserted one by one; many are merged in a walk.
    constexpr std::size_t fewLate = 8;
    if (late.size() <= fewLate) {
        for (Pointer record : late) {
            list.insert(positionOf(list, seqOf(*record), seqOf), take(record));
        }
    } else {
        std::deque<T> merged;
        auto stored = list.begin();
        for (Pointer record : late) {
            while (stored != list.end() && seqOf(*stored) > seqOf(*record)) {
                merged.push_back(std::move(*stored++));
            }
            merged.push_back(take(record));
        }
        std::move(stored, list.end(), std::back_inserter(merged));
        list = std::move(merged);
    }

    for (std::size_t i = newer; i > 0; --i) {
        list.push_front(take(picked[i - 1]));
    }
    return replaced || !late.empty() || newer > 0;
}

} // namespace OrvelKit::NewestFirst
