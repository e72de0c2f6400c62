// What the updates screen's list costs the GUI thread after a sync that
// brings 50 updates into a history of `range(0)` updates: the list's items,
// flat and grouped by source (groups collapsed to three), with the rows that
// changed inserted rather than the list reset. The goal is one frame (16 ms)
// at 100,000 updates. The triage of the whole inbox runs on a pool thread in
// the app; here it runs with the clock stopped, and BM_UpdatesListTriage
// measures it on its own.

#include "bench/AppModelBench.h"
#include "orvel/shell/UpdatesListModel.h"
#include "orvelkit/async/Spawn.h"

#include <benchmark/benchmark.h>

namespace {

using namespace OrvelBench;

// `offThread`: the triage is left out of the measured time, as the app runs
// it off the GUI thread.
void updatesListAfterSync(benchmark::State& state, bool grouped, bool offThread) {
    Fixture fixture(static_cast<std::size_t>(state.range(0)));
    fixture.model->setGroupActivityUpdates(grouped);
    fixture.model->open(Orvel::AppScreen::updates());
    // Whether the clock runs (outside the refresh the loop sets up).
    bool timed = false;
    auto runner = [&state, &timed, offThread](Orvel::UpdatesListModel::Work work) {
        const bool pause = timed && offThread;
        if (pause) {
            state.PauseTiming();
        }
        auto finish = work();
        if (pause) {
            state.ResumeTiming();
        }
        finish();
    };
    Orvel::UpdatesListModel list(*fixture.model, fixture.executor, runner);
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
        timed = true;
        list.recompute();
        timed = false;
    }
    state.counters["items"] = static_cast<double>(list.rowCount());
    if (fixture.model->lastError()) {
        state.SkipWithError(fixture.model->lastError()->c_str());
    }
}

void BM_UpdatesListFlat(benchmark::State& state) {
    updatesListAfterSync(state, false, true);
}
BENCHMARK(BM_UpdatesListFlat)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond);

void BM_UpdatesListGrouped(benchmark::State& state) {
    updatesListAfterSync(state, true, true);
}
BENCHMARK(BM_UpdatesListGrouped)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond);

// The whole recompute on one thread: the triage and the flat list.
void BM_UpdatesListTriage(benchmark::State& state) {
    updatesListAfterSync(state, false, false);
}
BENCHMARK(BM_UpdatesListTriage)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace
