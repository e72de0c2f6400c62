// What the updates screen's list costs after a sync that brings 50 updates
// into a history of `range(0)` updates: the triage of the whole inbox and the
// list's items, flat and grouped by source (groups collapsed to three), with
// the rows that changed inserted rather than the list reset. The goal is one
// frame (16 ms) at 100,000 updates.

#include "bench/AppModelBench.h"
#include "orvel/shell/UpdatesListModel.h"
#include "orvelkit/async/Spawn.h"

#include <benchmark/benchmark.h>

namespace {

using namespace OrvelBench;

void updatesListAfterSync(benchmark::State& state, bool grouped) {
    Fixture fixture(static_cast<std::size_t>(state.range(0)));
    fixture.model->setGroupActivityUpdates(grouped);
    fixture.model->open(Orvel::AppScreen::updates());
    Orvel::UpdatesListModel list(*fixture.model, fixture.executor);
    std::size_t round = 1;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.answerWithNews(round++);
        spawn(fixture.executor, fixture.model->refresh());
        // Runs the refresh and the list's own recompute; the next one is
        // the measured one.
        fixture.executor.runUntilIdle();
        fixture.model->flushSaves();
        state.ResumeTiming();
        list.recompute();
    }
    state.counters["items"] = static_cast<double>(list.rowCount());
    if (fixture.model->lastError()) {
        state.SkipWithError(fixture.model->lastError()->c_str());
    }
}

void BM_UpdatesListFlat(benchmark::State& state) {
    updatesListAfterSync(state, false);
}
BENCHMARK(BM_UpdatesListFlat)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond);

void BM_UpdatesListGrouped(benchmark::State& state) {
    updatesListAfterSync(state, true);
}
BENCHMARK(BM_UpdatesListGrouped)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace
