// Throughput of the wire codec on a large sync response: 100,000 realistic
// notifications over 20 channels with their card updates (about 50 MB of
// JSON), generated here. Bytes processed is the JSON text's size.

#include "bench/PeakHeap.h"
#include "orvelkit/protocol/Protocol.h"
#include "orvelkit/support/AllocatorPolicy.h"
#include "tests/support/RecordGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr std::size_t channelCount = 20;

// The allocator as the application sets it up at start-up (docs/PERFORMANCE.md);
// ORVEL_BENCH_DEFAULT_ALLOCATOR=1 measures glibc's defaults instead.
[[maybe_unused]] const bool allocatorPolicyApplied =
    std::getenv("ORVEL_BENCH_DEFAULT_ALLOCATOR") == nullptr && OrvelKit::applyAllocatorPolicy();

struct Fixture {
    OrvelProtocol::SyncResponse response;
    std::string json;
};

// Generated once per size and shared by the benchmarks.
const Fixture& fixture(std::size_t notificationCount) {
    static std::map<std::size_t, Fixture> fixtures;
    auto [it, inserted] = fixtures.try_emplace(notificationCount);
    if (inserted) {
        OrvelTest::RecordGenerator generator(20250701);
        it->second.response = generator.syncResponse(notificationCount, channelCount);
        it->second.json = OrvelProtocol::encode(it->second.response).value();
    }
    return it->second;
}

void BM_DecodeSyncResponse(benchmark::State& state) {
    const Fixture& data = fixture(static_cast<std::size_t>(state.range(0)));
    const OrvelBench::PeakHeap heap;
    for (auto _ : state) {
        auto decoded = OrvelProtocol::decode<OrvelProtocol::SyncResponse>(data.json);
        if (!decoded) {
            state.SkipWithError(decoded.error().description().c_str());
            break;
        }
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.json.size()));
    state.counters["json_MB"] = static_cast<double>(data.json.size()) / 1e6;
    heap.report(state, data.json.size());
}

void BM_EncodeSyncResponse(benchmark::State& state) {
    const Fixture& data = fixture(static_cast<std::size_t>(state.range(0)));
    const OrvelBench::PeakHeap heap;
    for (auto _ : state) {
        auto encoded = OrvelProtocol::encode(data.response);
        if (!encoded) {
            state.SkipWithError(encoded.error().description().c_str());
            break;
        }
        benchmark::DoNotOptimize(encoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.json.size()));
    state.counters["json_MB"] = static_cast<double>(data.json.size()) / 1e6;
    heap.report(state, data.json.size());
}

// One notification: the size of a typical single-channel pull or inbox entry.
void BM_DecodeNotification(benchmark::State& state) {
    OrvelTest::RecordGenerator generator(7);
    const std::string json = OrvelProtocol::encode(generator.notification("ch_bench", 42)).value();
    for (auto _ : state) {
        auto decoded = OrvelProtocol::decode<OrvelProtocol::Notification>(json);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}

} // namespace

BENCHMARK(BM_DecodeSyncResponse)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeSyncResponse)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeNotification);
