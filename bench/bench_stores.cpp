// The inbox file at full size: 100,000 notifications (about 50 MB) over a few
// channels, saved and loaded through FileInboxStore, and what a background save
// costs the thread that owns the inbox.
//
// Files go to a fresh directory under $TMPDIR (or /tmp); point TMPDIR at the
// disk the application uses to measure that disk. Saves include the flushes
// to the device, so the figures are wall-clock times.

#include "bench/PeakHeap.h"
#include "orvelkit/store/BackgroundInboxSaver.h"
#include "orvelkit/store/FileInboxStore.h"
#include "orvelkit/store/InboxFile.h"
#include "orvelkit/store/SharedInbox.h"
#include "orvelkit/support/AllocatorPolicy.h"
#include "tests/support/RecordGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace OrvelKit;

constexpr std::size_t channelCount = 8;

// The allocator as the application sets it up at start-up (docs/PERFORMANCE.md);
// ORVEL_BENCH_DEFAULT_ALLOCATOR=1 measures glibc's defaults instead.
[[maybe_unused]] const bool allocatorPolicyApplied =
    std::getenv("ORVEL_BENCH_DEFAULT_ALLOCATOR") == nullptr && OrvelKit::applyAllocatorPolicy();

// One inbox per size, built once.
const std::shared_ptr<const Inbox>& inboxOf(std::size_t notifications) {
    static std::map<std::size_t, std::shared_ptr<const Inbox>> inboxes;
    auto& inbox = inboxes[notifications];
    if (!inbox) {
        OrvelTest::RecordGenerator generator(2024);
        Inbox built;
        built.applySync(generator.syncResponse(notifications, channelCount).channels);
        built.markAllRead();
        inbox = std::make_shared<const Inbox>(std::move(built));
    }
    return inbox;
}

class BenchDirectory {
public:
    BenchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvel-bench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~BenchDirectory() { std::filesystem::remove_all(path_); }
    std::filesystem::path file() const { return path_ / "inbox.json"; }

private:
    std::filesystem::path path_;
};

void setFileBytes(benchmark::State& state, const std::filesystem::path& file) {
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["fileMB"] = static_cast<double>(bytes) / 1e6;
}

void BM_InboxSave(benchmark::State& state) {
    const auto& inbox = inboxOf(static_cast<std::size_t>(state.range(0)));
    BenchDirectory directory;
    FileInboxStore store(directory.file());
    store.save(*inbox); // the size hint of a running application
    const OrvelBench::PeakHeap heap;
    for (auto _ : state) {
        store.save(*inbox);
    }
    setFileBytes(state, directory.file());
    heap.report(state, std::filesystem::file_size(directory.file()));
}

void BM_InboxLoad(benchmark::State& state) {
    const auto& inbox = inboxOf(static_cast<std::size_t>(state.range(0)));
    BenchDirectory directory;
    FileInboxStore store(directory.file());
    store.save(*inbox);
    const OrvelBench::PeakHeap heap;
    for (auto _ : state) {
        Inbox loaded = store.load().value();
        state.PauseTiming(); // freeing the inbox is not part of loading it
        const bool complete = loaded.channels().size() == inbox->channels().size();
        loaded = Inbox();
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("the inbox did not load");
            break;
        }
    }
    setFileBytes(state, directory.file());
    heap.report(state, std::filesystem::file_size(directory.file()));
}

// What a save costs the thread that owns the inbox: one change to the inbox
// through SharedInbox (in place, since the previous save is done) and handing
// the snapshot to the saver. The write happens on the saver's thread; each
// iteration waits for it outside the measured time.
void BM_InboxSaveBlocking(benchmark::State& state) {
    SharedInbox shared(*inboxOf(static_cast<std::size_t>(state.range(0))));
    const std::string channel = shared.get().channels().front().channel();
    BenchDirectory directory;
    FileInboxStore store(directory.file());
    BackgroundInboxSaver saver(store);
    std::uint64_t seq = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        shared.edit().dismiss(channel, ++seq);
        saver.save(shared.snapshot());
        const auto blocked = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(std::chrono::duration<double>(blocked).count());
        saver.flush();
    }
    setFileBytes(state, directory.file());
}

// What a change costs the owner while a save still holds the previous
// snapshot (SharedInbox then copies the inbox).
void BM_InboxSnapshotCopy(benchmark::State& state) {
    const auto& inbox = inboxOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto copy = std::make_shared<const Inbox>(*inbox);
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}

// The two halves of a save and a load without the file system.
void BM_InboxEncode(benchmark::State& state) {
    const auto& inbox = inboxOf(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto encoded = InboxFile::encode(
            *inbox, [&](std::string_view json) { bytes = json.size(); }, bytes);
        benchmark::DoNotOptimize(encoded);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void BM_InboxDecode(benchmark::State& state) {
    const auto& inbox = inboxOf(static_cast<std::size_t>(state.range(0)));
    std::string json;
    (void)InboxFile::encode(*inbox, [&](std::string_view text) { json = text; });
    const OrvelBench::PeakHeap heap;
    for (auto _ : state) {
        auto decoded = InboxFile::decode(json);
        state.PauseTiming();
        decoded = Inbox();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(json.size()));
    heap.report(state, json.size());
}

// With --benchmark_repetitions, "min" is the figure least disturbed by other
// work on the machine.
double minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

BENCHMARK(BM_InboxSave)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_InboxLoad)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_InboxSaveBlocking)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Iterations(20)
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_InboxSnapshotCopy)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InboxEncode)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InboxDecode)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
