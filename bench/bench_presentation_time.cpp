// Timestamp reading and delivery timing over inbox-sized inputs.

#include "orvelkit/presentation/DeliveryTiming.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/time/Calendar.h"
#include "tests/support/Records.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

namespace Presentation = OrvelKit::Presentation;

// Deterministic pseudo-random numbers (splitmix64).
class Sequence {
public:
    std::uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

private:
    std::uint64_t state_ = 42;
};

// Timestamps spread over a few years, in UTC or with an offset, with a
// fraction of 3 or 6 digits or none.
std::vector<std::string> timestamps(std::size_t count, bool withFraction) {
    Sequence random;
    std::vector<std::string> result;
    result.reserve(count);
    char buffer[64];
    for (std::size_t i = 0; i < count; ++i) {
        const int year = 2022 + random.below(4);
        const int month = 1 + random.below(12);
        const int day = 1 + random.below(28);
        const int hour = random.below(24);
        const int minute = random.below(60);
        const int second = random.below(60);
        int length = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", year,
                                   month, day, hour, minute, second);
        if (withFraction) {
            length += random.below(2) == 0 ? std::snprintf(buffer + length, sizeof buffer - length,
                                                           ".%03d", random.below(1000))
                                           : std::snprintf(buffer + length, sizeof buffer - length,
                                                           ".%06d", random.below(1000000));
        }
        if (random.below(2) == 0) {
            std::snprintf(buffer + length, sizeof buffer - length, "Z");
        } else {
            std::snprintf(buffer + length, sizeof buffer - length, "%c%02d:%02d",
                          random.below(2) == 0 ? '+' : '-', random.below(14), random.below(4) * 15);
        }
        result.emplace_back(buffer);
    }
    return result;
}

void BM_ParseISO(benchmark::State& state) {
    const std::vector<std::string> texts = timestamps(4096, state.range(0) != 0);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Presentation::parseISO(texts[i]));
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) != 0 ? "with fraction" : "without fraction");
}
BENCHMARK(BM_ParseISO)->ArgName("fraction")->Arg(0)->Arg(1);

// Updates as a sync delivers them: most surface at once, some wait for the
// morning or the next day, some name an absolute time.
std::vector<OrvelProtocol::Notification> notifications(std::size_t count) {
    Sequence random;
    const std::vector<std::string> created = timestamps(count, true);
    const std::vector<std::string> absolute = timestamps(count, false);
    std::vector<OrvelProtocol::Notification> result(count);
    for (std::size_t i = 0; i < count; ++i) {
        OrvelProtocol::Notification& n = result[i];
        n = OrvelTest::notification("ch_" + std::to_string(i % 12), i + 1, std::nullopt,
                                    created[i]);
        n.title = "Build finished";
        switch (random.below(10)) {
        case 0:
            n.deliverWhen = "immediately";
            break;
        case 1:
            n.deliverWhen = "morning";
            break;
        case 2:
            n.deliverWhen = " Next_Day";
            break;
        case 3:
            n.deliverWhen = absolute[i];
            break;
        default:
            break;
        }
    }
    return result;
}

void BM_SurfaceTime(benchmark::State& state) {
    const auto updates = notifications(static_cast<std::size_t>(state.range(0)));
    const OrvelKit::Calendar calendar("Europe/Berlin", "de_DE");
    for (auto _ : state) {
        std::size_t deferred = 0;
        for (const auto& update : updates) {
            deferred += Presentation::surfaceTime(update, calendar).has_value() ? 1 : 0;
        }
        benchmark::DoNotOptimize(deferred);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SurfaceTime)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
