// Triage, the smart briefing and the status-bar indicator over a long history:
// `range(0)` updates over 20 channels from about 500 sources, with read marks
// part-way down each channel and a few dismissals. Each call reads the whole
// inbox, as the screens do on every change.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/MenuBarIndicator.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/SmartBriefing.h"
#include "orvelkit/presentation/Triage.h"
#include "tests/support/RecordGenerator.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace OrvelKit;

namespace {

constexpr std::size_t channelCount = 20;
constexpr std::size_t sendersPerChannel = 25;

struct Fixture {
    Inbox inbox;
    Date now;
    std::optional<Date> lastOpenedAt;
};

std::unique_ptr<Fixture> makeFixture(std::size_t total) {
    OrvelTest::RecordGenerator generator(20240501);
    const std::uint64_t perChannel = total / channelCount;
    std::vector<ChannelInbox> channels;
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::string id = "ch_" + std::to_string(1000 + c);
        std::vector<OrvelProtocol::Notification> notifications;
        notifications.reserve(perChannel);
        SequenceSet dismissed;
        for (std::uint64_t seq = 1; seq <= perChannel; ++seq) {
            OrvelProtocol::Notification n = generator.notification(id, seq);
            // About 25 agents per channel; now and then none (the channel speaks).
            if (n.sender) {
                n.sender = "agent-" + std::to_string(generator.below(sendersPerChannel));
            }
            if (generator.chance(1)) {
                dismissed.insert(seq);
            }
            notifications.push_back(std::move(n));
        }
        channels.emplace_back(id, "Channel " + std::to_string(c), c % 3 == 0,
                              std::move(notifications),
                              std::vector<OrvelProtocol::PersistentCardUpdate>{},
                              perChannel * 9 / 10, perChannel, 0, std::move(dismissed));
    }
    auto fixture = std::make_unique<Fixture>();
    fixture->inbox = Inbox(std::move(channels));
    // Shortly after the newest update; the last visit six hours earlier.
    fixture->now = *Presentation::parseISO(generator.timestamp(perChannel * 37 + 600));
    fixture->lastOpenedAt = fixture->now.addingSeconds(-6 * 3600);
    return fixture;
}

const Fixture& fixture(std::size_t total) {
    static std::map<std::size_t, std::unique_ptr<Fixture>> fixtures;
    auto& slot = fixtures[total];
    if (!slot) {
        slot = makeFixture(total);
    }
    return *slot;
}

void BM_Triaged(benchmark::State& state) {
    const Fixture& f = fixture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TriagedInbox result = Presentation::triaged(f.inbox, f.now);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SmartBriefing(benchmark::State& state) {
    const Fixture& f = fixture(static_cast<std::size_t>(state.range(0)));
    const Calendar calendar("Europe/Berlin", "en_US");
    for (auto _ : state) {
        SmartBriefing briefing =
            Presentation::smartBriefing(f.inbox, f.now, f.lastOpenedAt, calendar);
        benchmark::DoNotOptimize(briefing);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MenuBarIndicator(benchmark::State& state) {
    const Fixture& f = fixture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        // The user's calendar, as the status item asks for it.
        MenuBarIndicator indicator = Presentation::menuBarIndicator(f.inbox, f.now);
        benchmark::DoNotOptimize(indicator);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_Triaged)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmartBriefing)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuBarIndicator)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
