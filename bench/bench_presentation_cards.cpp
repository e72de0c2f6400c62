// Persistent cards over a long card history: `range(0)` card updates spread
// over 40 channels with 5 cards each (200 cards), mixing snapshots, patches,
// increments (on numbers and money), retractions of earlier updates and
// kinds the app does not know. Each call folds every stored update, as the
// screens do on every change.

#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
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

constexpr std::size_t channelCount = 40;

std::unique_ptr<Inbox> makeInbox(std::size_t total) {
    OrvelTest::RecordGenerator generator(20240502);
    const std::uint64_t perChannel = total / channelCount;
    std::vector<ChannelInbox> channels;
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::string id = "ch_" + std::to_string(2000 + c);
        std::vector<OrvelProtocol::PersistentCardUpdate> updates;
        updates.reserve(perChannel);
        for (std::uint64_t cardSeq = 1; cardSeq <= perChannel; ++cardSeq) {
            OrvelProtocol::PersistentCardUpdate update = generator.cardUpdate(id, cardSeq);
            // Most retractions withdraw a real, recent update of the channel.
            if (update.operation.kind == "retract" && !updates.empty() && generator.chance(80)) {
                const std::size_t back =
                    1 + generator.below(std::min<std::size_t>(20, updates.size()));
                update.operation.retractUpdateId = updates[updates.size() - back].updateId;
            }
            updates.push_back(std::move(update));
        }
        channels.emplace_back(id, std::nullopt, true, std::vector<OrvelProtocol::Notification>{},
                              std::move(updates), 0, 0, perChannel, SequenceSet{});
    }
    return std::make_unique<Inbox>(std::move(channels));
}

const Inbox& inbox(std::size_t total) {
    static std::map<std::size_t, std::unique_ptr<Inbox>> inboxes;
    auto& slot = inboxes[total];
    if (!slot) {
        slot = makeInbox(total);
    }
    return *slot;
}

void BM_PersistentCards(benchmark::State& state) {
    const Inbox& cards = inbox(static_cast<std::size_t>(state.range(0)));
    std::size_t shown = 0;
    for (auto _ : state) {
        std::vector<PersistentCardDescriptor> result =
            Presentation::persistentCards(cards, "de_DE");
        shown = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["cards"] = static_cast<double>(shown);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_PersistentCards)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
