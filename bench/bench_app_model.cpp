// What one refresh costs the owner's thread when the inbox already holds a
// long history: `range(0)` updates over 20 channels, 50 new ones per sync
// spread over 4 channels. The service answers at once from memory, so the
// figure is the model's own work: decoding the small answer, the merge, the
// bookkeeping, notifications and handing the inbox to the background save.
//
// BM_InboxScreenValues is what the inbox screen computes after each sync: the
// briefing, the cards and the texts, once per change.
//
// BM_FirstSync is a device joining an account with a long history: an empty
// inbox and an answer that brings `range(0)` updates over 20 channels, all of
// them a new channel's backlog. Decoding, the announcements and the merge, with
// the heap at its peak.
//
// BM_IdleRefresh is the app left alone: every answer repeats what the inbox
// already holds, and the counter `inboxEncodes` shows that nothing is saved.
//
// BM_IdleTray is the same 20 seconds apart on the clock, 30 times (ten
// minutes), with what the tray then computes: its indicator, after the fields
// it follows changed. The panel is hidden, so its screens compute nothing. The
// counter `indicatorsPerRefresh` shows that the indicator is read once a
// minute, not after every refresh.

#include "bench/AppModelBench.h"
#include "bench/PeakHeap.h"
#include "orvel/shell/InboxScreenValues.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/presentation/MenuBarIndicator.h"
#include "orvelkit/store/InboxFile.h"
#include "tests/orvel/core/FakeService.h"
#include "tests/support/RecordGenerator.h"
#include "tests/support/Records.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>

namespace {

using namespace OrvelKit;
using namespace OrvelBench;
using OrvelProtocol::ChannelSync;
using OrvelProtocol::Notification;
using OrvelProtocol::SyncResponse;

void BM_Refresh(benchmark::State& state) {
    Fixture fixture(static_cast<std::size_t>(state.range(0)));
    std::size_t round = 1;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.answerWithNews(round++);
        state.ResumeTiming();
        spawn(fixture.executor, fixture.model->refresh());
        fixture.executor.runUntilIdle();
        state.PauseTiming();
        // Refreshes come 20 s apart: the save is long done by the next one.
        fixture.model->flushSaves();
        state.ResumeTiming();
    }
    if (fixture.model->lastError()) {
        state.SkipWithError(fixture.model->lastError()->c_str());
    }
}
BENCHMARK(BM_Refresh)->Arg(10000)->Arg(100000)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_FirstSync(benchmark::State& state) {
    OrvelTest::RecordGenerator generator(23);
    auto service = std::make_shared<OrvelTest::FakeService>();
    service->answer("sync",
                    generator.syncResponse(static_cast<std::size_t>(state.range(0)), channelCount));
    ManualExecutor executor;
    Orvel::ManualClock clock{Date::fromSecondsSinceEpoch(1'796'551'200)};
    const OrvelBench::PeakHeap heap;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = benchModel(std::make_shared<HistoryStore>(Inbox()), service, executor, clock);
        state.ResumeTiming();
        spawn(executor, model->refresh());
        executor.runUntilIdle();
        state.PauseTiming();
        if (model->lastError()) {
            state.SkipWithError(model->lastError()->c_str());
        }
        model.reset();
        state.ResumeTiming();
    }
    heap.report(state);
}
BENCHMARK(BM_FirstSync)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond);

// Encodes each inbox it is asked to save, as the file store does before it
// writes, and counts them.
class EncodingStore final : public InboxStore {
public:
    explicit EncodingStore(Inbox inbox) : inbox_(std::move(inbox)) {}
    Expected<Inbox, FileError> load() override { return std::move(inbox_); }
    void save(const Inbox& inbox) override {
        (void)InboxFile::encode(inbox, [](std::string_view) {});
        ++encodes;
    }
    std::atomic<int> encodes{0};

private:
    Inbox inbox_;
};

// What the service says when nothing happened: each channel as the inbox
// already has it.
SyncResponse nothingNew(const Inbox& inbox) {
    SyncResponse response;
    for (const auto& channel : inbox.channels()) {
        ChannelSync record;
        record.channel = channel.channel();
        record.name = channel.name();
        record.owned = channel.owned();
        record.latestSeq = channel.cursor();
        record.latestCardSeq = channel.cardCursor();
        record.readSeq = channel.lastReadSeq();
        record.dismissedSeqs.assign(channel.dismissedSeqs().begin(), channel.dismissedSeqs().end());
        response.channels.push_back(std::move(record));
    }
    return response;
}

void BM_IdleRefresh(benchmark::State& state) {
    OrvelTest::RecordGenerator generator(17);
    Inbox inbox;
    inbox.applySync(
        generator.syncResponse(static_cast<std::size_t>(state.range(0)), channelCount).channels);
    ManualExecutor executor;
    Orvel::ManualClock clock{Date::fromSecondsSinceEpoch(1'796'551'200)};
    auto service = std::make_shared<OrvelTest::FakeService>();
    service->answer("sync", nothingNew(inbox));
    auto store = std::make_shared<EncodingStore>(std::move(inbox));
    const auto model = benchModel(store, service, executor, clock);
    for (auto _ : state) {
        spawn(executor, model->refresh());
        executor.runUntilIdle();
        state.PauseTiming();
        model->flushSaves();
        state.ResumeTiming();
    }
    state.counters["inboxEncodes"] = store->encodes.load();
    if (model->lastError()) {
        state.SkipWithError(model->lastError()->c_str());
    }
}
BENCHMARK(BM_IdleRefresh)->Arg(100000)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_IdleTray(benchmark::State& state) {
    Fixture fixture(static_cast<std::size_t>(state.range(0)));
    bool stale = false;
    auto subscription = fixture.model->observe([&](Orvel::ModelField field) {
        stale = stale || field == Orvel::ModelField::inbox || field == Orvel::ModelField::now ||
                field == Orvel::ModelField::useDevelopmentData;
    });
    std::int64_t indicators = 0;
    for (auto _ : state) {
        fixture.clock.advance(20);
        spawn(fixture.executor, fixture.model->refresh());
        fixture.executor.runUntilIdle();
        if (stale) {
            stale = false;
            ++indicators;
            benchmark::DoNotOptimize(Presentation::menuBarIndicator(
                fixture.model->sourceInbox(), fixture.model->now(), fixture.model->calendar()));
        }
    }
    state.counters["indicatorsPerRefresh"] =
        static_cast<double>(indicators) / static_cast<double>(state.iterations());
    if (fixture.model->lastError()) {
        state.SkipWithError(fixture.model->lastError()->c_str());
    }
}
BENCHMARK(BM_IdleTray)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond);

// What the status item reads after each change.
void BM_ModelIndicator(benchmark::State& state) {
    Fixture fixture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Presentation::menuBarIndicator(
            fixture.model->sourceInbox(), fixture.model->now(), fixture.model->calendar()));
    }
}
BENCHMARK(BM_ModelIndicator)->Arg(100000)->Unit(benchmark::kMillisecond);

// What the inbox screen's view model computes once after a sync.
void BM_InboxScreenValues(benchmark::State& state) {
    Fixture fixture(static_cast<std::size_t>(state.range(0)));
    fixture.answerWithNews(1);
    spawn(fixture.executor, fixture.model->refresh());
    fixture.executor.runUntilIdle();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Orvel::inboxScreenValues(*fixture.model));
    }
}
BENCHMARK(BM_InboxScreenValues)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
