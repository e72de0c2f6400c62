// The inbox under a long history: a sync that brings a little news into an
// inbox holding `range(0)` updates over 20 channels, and the aggregates the
// app reads after every change.

#include "orvelkit/inbox/Inbox.h"
#include "tests/support/Records.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using OrvelKit::ChannelInbox;
using OrvelKit::Inbox;
using OrvelProtocol::ChannelSync;
using OrvelProtocol::Notification;

namespace {

constexpr std::size_t channelCount = 20;
constexpr std::size_t newsPerSync = 50;
constexpr std::size_t channelsWithNews = 4;
constexpr std::size_t dismissedPerChannel = 8;

std::string channelId(std::size_t i) {
    return "ch-" + std::to_string(1000 + i);
}

// A small update such as a build agent posts.
Notification update(const std::string& channel, std::uint64_t seq) {
    Notification n = OrvelTest::notification(channel, seq, seq % 7 == 0 ? "failed" : "done",
                                             "2024-05-" + std::to_string(1 + seq % 28) +
                                                 "T10:" + std::to_string(10 + seq % 50) + ":00Z");
    n.title = "Build " + std::to_string(seq) + " finished on main";
    n.body = "All 312 tests passed in 4m" + std::to_string(seq % 60) + "s.";
    n.sender = "CI · " + channel;
    return n;
}

std::vector<std::uint64_t> dismissals(std::uint64_t top) {
    std::vector<std::uint64_t> seqs;
    for (std::size_t i = 1; i <= dismissedPerChannel; ++i) {
        seqs.push_back(top - i * 37);
    }
    return seqs;
}

Inbox history(std::size_t total) {
    const std::uint64_t perChannel = total / channelCount;
    std::vector<ChannelInbox> channels;
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::string id = channelId(c);
        std::vector<Notification> notifications;
        notifications.reserve(perChannel);
        for (std::uint64_t seq = 1; seq <= perChannel; ++seq) {
            notifications.push_back(update(id, seq));
        }
        const auto dismissed = dismissals(perChannel);
        channels.emplace_back(
            id, "Channel " + std::to_string(c), c % 3 == 0, std::move(notifications),
            std::vector<OrvelProtocol::PersistentCardUpdate>{}, perChannel - 20, perChannel, 0,
            OrvelKit::SequenceSet(dismissed.begin(), dismissed.end()));
    }
    return Inbox(std::move(channels));
}

// Consecutive sync responses: each names every channel, brings 50 new updates
// to four of them and reports the others unchanged.
std::vector<std::vector<ChannelSync>> responses(const Inbox& inbox, std::size_t count) {
    std::vector<std::uint64_t> tops;
    for (const ChannelInbox& entry : inbox.channels()) {
        tops.push_back(entry.cursor());
    }
    std::vector<std::vector<ChannelSync>> result(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::vector<ChannelSync>& records = result[k];
        for (std::size_t c = 0; c < channelCount; ++c) {
            ChannelSync record = OrvelTest::channelSync(channelId(c));
            record.name = "Channel " + std::to_string(c);
            record.owned = c % 3 == 0;
            records.push_back(std::move(record));
        }
        for (std::size_t j = 0; j < newsPerSync; ++j) {
            const std::size_t c = (k * 7 + (j % channelsWithNews) * 5) % channelCount;
            records[c].notifications.push_back(update(records[c].channel, ++tops[c]));
        }
        for (std::size_t c = 0; c < channelCount; ++c) {
            records[c].latestSeq = tops[c];
            records[c].readSeq = tops[c] - 20;
            records[c].dismissedSeqs = dismissals(tops[c]);
        }
    }
    return result;
}

void BM_InboxApplySync(benchmark::State& state) {
    const Inbox base = history(static_cast<std::size_t>(state.range(0)));
    // Every iteration applies the next response, so each brings new updates;
    // after the last one the inbox goes back to the base (untimed).
    const auto syncs = responses(base, 1000);
    Inbox inbox = base;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == syncs.size()) {
            state.PauseTiming();
            inbox = base;
            next = 0;
            state.ResumeTiming();
        }
        inbox.applySync(syncs[next++]);
        benchmark::ClobberMemory();
    }
    state.counters["updates"] = static_cast<double>(inbox.all().size());
}
BENCHMARK(BM_InboxApplySync)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_InboxSyncCursors(benchmark::State& state) {
    const Inbox inbox = history(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(inbox.syncCursors());
        benchmark::DoNotOptimize(inbox.cardSyncCursors());
    }
}
BENCHMARK(BM_InboxSyncCursors)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_InboxAll(benchmark::State& state) {
    const Inbox inbox = history(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(inbox.all());
    }
}
BENCHMARK(BM_InboxAll)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_InboxAllRefs(benchmark::State& state) {
    const Inbox inbox = history(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(inbox.allRefs());
    }
}
BENCHMARK(BM_InboxAllRefs)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_InboxTotalUnread(benchmark::State& state) {
    const Inbox inbox = history(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(inbox.totalUnread());
    }
}
BENCHMARK(BM_InboxTotalUnread)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
