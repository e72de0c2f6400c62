// Random histories of merges and syncs, applied both to the inbox and to a
// plain model that rebuilds a map of every channel's records and re-sorts it
// on each merge. The two must agree after every step.

#include "orvelkit/inbox/Inbox.h"
#include "tests/support/RecordGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using OrvelKit::ChannelInbox;
using OrvelKit::Inbox;
using OrvelKit::SequenceSet;
using OrvelProtocol::ChannelSync;
using OrvelProtocol::Notification;
using OrvelProtocol::PersistentCardUpdate;

namespace {

std::uint64_t seqOf(const Notification& n) {
    return n.seq;
}
std::uint64_t seqOf(const PersistentCardUpdate& u) {
    return u.cardSeq;
}

struct Plain {
    std::string channel;
    std::optional<std::string> name = std::nullopt;
    bool owned = false;
    std::vector<Notification> notifications = {};
    std::vector<PersistentCardUpdate> cardUpdates = {};
    std::uint64_t lastReadSeq = 0, latestSeq = 0, latestCardSeq = 0;
    SequenceSet dismissed = {};
};

Plain* find(std::vector<Plain>& plain, const std::string& id) {
    const auto at = std::ranges::find(plain, id, &Plain::channel);
    return at == plain.end() ? nullptr : &*at;
}

template <class T>
void plainMerge(const std::string& channel, std::vector<T>& list, const std::vector<T>& pulled,
                std::optional<std::uint64_t> given, std::uint64_t& latest) {
    std::map<std::uint64_t, T> bySeq;
    for (const T& record : list) {
        bySeq.insert_or_assign(seqOf(record), record);
    }
    for (const T& record : pulled) {
        if (record.channel == channel) {
            bySeq.insert_or_assign(seqOf(record), record);
        }
    }
    list.clear();
    for (auto it = bySeq.rbegin(); it != bySeq.rend(); ++it) {
        list.push_back(it->second);
    }
    latest = std::max({latest, given.value_or(0), list.empty() ? 0 : seqOf(list.front())});
}

void plainSync(Plain& c, const ChannelSync& r, bool takeNameAndOwned) {
    plainMerge(c.channel, c.notifications, r.notifications, r.latestSeq, c.latestSeq);
    plainMerge(c.channel, c.cardUpdates, r.cardUpdates, r.latestCardSeq, c.latestCardSeq);
    c.lastReadSeq = std::max(c.lastReadSeq, r.readSeq);
    c.dismissed.insert(r.dismissedSeqs.begin(), r.dismissedSeqs.end());
    if (takeNameAndOwned) {
        if (r.name && !r.name->empty()) {
            c.name = r.name;
        }
        c.owned = r.owned.value_or(false);
    }
}

void plainApplySync(std::vector<Plain>& inbox, const std::vector<ChannelSync>& records) {
    std::erase_if(inbox, [&](const Plain& c) {
        return std::none_of(records.begin(), records.end(),
                            [&](const ChannelSync& r) { return r.channel == c.channel; });
    });
    for (const ChannelSync& r : records) {
        if (Plain* known = find(inbox, r.channel)) {
            plainSync(*known, r, true);
        } else {
            inbox.push_back({r.channel, r.name, r.owned.value_or(false)});
            plainSync(inbox.back(), r, false);
        }
    }
}

void expectSame(const Inbox& inbox, const std::vector<Plain>& plain) {
    ASSERT_EQ(inbox.channels().size(), plain.size());
    std::vector<Notification> all;
    std::vector<PersistentCardUpdate> allCards;
    std::size_t unread = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const ChannelInbox& c = inbox.channels()[i];
        const Plain& p = plain[i];
        EXPECT_EQ(c.channel(), p.channel);
        EXPECT_EQ(c.name(), p.name);
        EXPECT_EQ(c.owned(), p.owned);
        EXPECT_TRUE(std::ranges::equal(c.notifications(), p.notifications)) << p.channel;
        EXPECT_TRUE(std::ranges::equal(c.cardUpdates(), p.cardUpdates)) << p.channel;
        EXPECT_EQ(c.lastReadSeq(), p.lastReadSeq);
        EXPECT_EQ(c.latestSeq(), p.latestSeq);
        EXPECT_EQ(c.latestCardSeq(), p.latestCardSeq);
        EXPECT_EQ(c.dismissedSeqs(), p.dismissed);
        all.insert(all.end(), p.notifications.begin(), p.notifications.end());
        allCards.insert(allCards.end(), p.cardUpdates.begin(), p.cardUpdates.end());
        unread += std::count_if(p.notifications.begin(), p.notifications.end(),
                                [&](const Notification& n) { return n.seq > p.lastReadSeq; });
    }
    std::stable_sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.seq > b.seq; });
    std::stable_sort(allCards.begin(), allCards.end(), [](auto& a, auto& b) {
        return a.createdAt != b.createdAt ? a.createdAt > b.createdAt : a.cardSeq > b.cardSeq;
    });
    EXPECT_EQ(inbox.all(), all);
    EXPECT_EQ(inbox.allCardUpdates(), allCards);
    EXPECT_EQ(inbox.totalUnread(), unread);
}

// Records for one channel: mostly news above `top`, some replacements and
// late arrivals below it, now and then another channel's records.
struct History {
    OrvelTest::RecordGenerator gen;
    const std::string stamps[3] = {"2024-05-01T08:00:00Z", "2024-05-01T09:30:00Z",
                                   "2024-05-02T07:00:00Z"};

    std::uint64_t pickSeq(std::uint64_t top) {
        if (gen.chance(50)) {
            return top + 1 + gen.below(4);
        }
        return 1 + gen.below(top + 1);
    }
    std::string pickChannel(const std::string& channel) {
        return gen.chance(10) ? "elsewhere" : channel;
    }

    ChannelSync record(const std::string& channel, std::uint64_t top, std::uint64_t cardTop) {
        ChannelSync r;
        r.channel = channel;
        // Sometimes many numbers at once, to fill gaps in bulk.
        const std::size_t count = gen.chance(15) ? 20 + gen.below(20) : gen.below(6);
        for (std::size_t i = 0; i < count; ++i) {
            r.notifications.push_back(gen.notification(pickChannel(channel), pickSeq(top)));
        }
        for (std::size_t i = gen.below(4); i > 0; --i) {
            auto update = gen.cardUpdate(pickChannel(channel), pickSeq(cardTop));
            update.createdAt = stamps[gen.below(3)];
            r.cardUpdates.push_back(update);
        }
        r.latestSeq = gen.below(top + 8);
        r.latestCardSeq = gen.below(cardTop + 3);
        r.readSeq = gen.below(top + 3);
        for (std::size_t i = gen.below(3); i > 0; --i) {
            r.dismissedSeqs.push_back(1 + gen.below(top + 2));
        }
        const unsigned naming = static_cast<unsigned>(gen.below(3));
        r.name = naming == 0 ? std::nullopt : std::optional<std::string>(naming == 1 ? "" : "N");
        if (gen.chance(60)) {
            r.owned = gen.chance(50);
        }
        return r;
    }
};

const std::string channelIds[] = {"a", "b", "c", "d"};

} // namespace

TEST(MergeAgainstReference, RandomHistoriesAgreeStepByStep) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        History h{OrvelTest::RecordGenerator(seed)};

        // Loaded lists may be out of order and repeat numbers.
        std::vector<ChannelInbox> loaded;
        std::vector<Plain> plain;
        for (const std::string& id : channelIds) {
            if (h.gen.chance(30)) {
                continue;
            }
            ChannelSync r = h.record(id, 10, 2);
            loaded.emplace_back(id, r.name, false, r.notifications, r.cardUpdates, r.readSeq, 0, 0,
                                SequenceSet(r.dismissedSeqs.begin(), r.dismissedSeqs.end()));
            Plain p{id, r.name, false, r.notifications, r.cardUpdates, r.readSeq};
            const auto newestFirst = [](auto& a, auto& b) { return seqOf(a) > seqOf(b); };
            std::ranges::stable_sort(p.notifications, newestFirst);
            std::ranges::stable_sort(p.cardUpdates, newestFirst);
            p.latestSeq = p.notifications.empty() ? 0 : p.notifications.front().seq;
            p.latestCardSeq = p.cardUpdates.empty() ? 0 : p.cardUpdates.front().cardSeq;
            p.dismissed.insert(r.dismissedSeqs.begin(), r.dismissedSeqs.end());
            plain.push_back(p);
        }
        Inbox inbox(loaded);

        for (int step = 0; step < 25; ++step) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step);
            if (h.gen.chance(15)) {
                const std::string& id = channelIds[h.gen.below(4)];
                if (!find(plain, id)) {
                    plain.push_back({id});
                }
                Plain& p = *find(plain, id);
                const ChannelSync r = h.record(id, p.latestSeq, 0);
                inbox.merge(id, r.notifications, r.latestSeq);
                plainMerge(id, p.notifications, r.notifications, r.latestSeq, p.latestSeq);
            } else {
                std::vector<ChannelSync> records;
                for (const std::string& id : channelIds) {
                    if (h.gen.chance(85)) {
                        const Plain* p = find(plain, id);
                        records.push_back(
                            h.record(id, p ? p->latestSeq : 0, p ? p->latestCardSeq : 0));
                    }
                }
                std::reverse(records.begin(), records.begin() + h.gen.below(records.size() + 1));
                if (!records.empty() && h.gen.chance(10)) {
                    records.push_back(records.front());
                }
                const Inbox before = inbox;
                const bool changed = inbox.applySync(records);
                EXPECT_EQ(changed, inbox != before) << "a change unreported is never saved";
                Inbox moved = before;
                auto taken = records;
                EXPECT_EQ(moved.applySync(std::move(taken)), changed);
                EXPECT_EQ(moved, inbox) << "records moved in merge as copied ones do";
                EXPECT_FALSE(inbox.applySync(records)) << "the same answer again is no change";
                plainApplySync(plain, records);
            }
            expectSame(inbox, plain);
            if (testing::Test::HasFailure()) {
                return;
            }
        }
    }
}
