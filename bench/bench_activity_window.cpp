// What the expanded activity window costs the GUI thread with a history of
// `range(0)` updates (over 20 channels and 18 days, about 5,500 a day at
// 100,000): switching days and each keystroke in the search field rebuild the
// pane's values (filtering the day's items, the row list reset, the sidebar's
// selection) without reading the inbox again. The goal is one frame (16 ms)
// at 100,000 updates. BM_ActivityWindowSource measures what each change of
// the model costs: reading the timeline, briefing, cards and channels.

#include "bench/AppModelBench.h"
#include "orvel/shell/ExpandedActivityModel.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace OrvelBench;

struct WindowFixture : Fixture {
    Orvel::ExpandedActivityModel window{*model, executor};

    explicit WindowFixture(std::size_t total) : Fixture(total) { window.setActive(true); }
};

void BM_ActivityWindowSwitchDay(benchmark::State& state) {
    WindowFixture fixture(static_cast<std::size_t>(state.range(0)));
    auto& window = fixture.window;
    const int days = window.days()->count();
    int day = 0;
    for (auto _ : state) {
        window.selectDay(day);
        day = (day + 1) % days;
    }
    state.counters["days"] = days;
    state.counters["rows"] = window.rows()->count();
}

void BM_ActivityWindowSearchKeystroke(benchmark::State& state) {
    WindowFixture fixture(static_cast<std::size_t>(state.range(0)));
    auto& window = fixture.window;
    window.selectDay(0);
    // Typing "build 42", then a query that matches nothing (every text read).
    const std::array<QString, 9> typed{"b",      "bu",      "bui",      "buil", "build",
                                       "build ", "build 4", "build 42", "zzz"};
    std::size_t key = 0;
    for (auto _ : state) {
        window.setQuery(typed[key]);
        key = (key + 1) % typed.size();
    }
    state.counters["dayItems"] = window.days()->entries().front().count;
}

void BM_ActivityWindowSource(benchmark::State& state) {
    WindowFixture fixture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        fixture.window.recompute();
    }
}

BENCHMARK(BM_ActivityWindowSwitchDay)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ActivityWindowSearchKeystroke)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ActivityWindowSource)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
