// The channel list and the activity timeline.
//
// BM_Channels: `range(0)` channels, half of them created on this device (in
// the configuration, a third of those not synced yet), the rest followed,
// each synced one with 20 updates whose ages run from minutes to weeks, so
// every activity level occurs.
//
// BM_ActivityDays: `range(0)` updates over 20 channels spread across about
// two months, bucketed into the days of Europe/Berlin (with its
// daylight-saving changes).

#include "orvelkit/config/AppConfig.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/ActivityDayDescriptor.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/time/Calendar.h"
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

struct ChannelFixture {
    AppConfig config;
    Inbox inbox;
    Date now;
};

std::unique_ptr<ChannelFixture> makeChannels(std::size_t count) {
    constexpr std::uint64_t updatesPerChannel = 20;
    OrvelTest::RecordGenerator generator(20240503);
    auto fixture = std::make_unique<ChannelFixture>();
    std::vector<ChannelInbox> channels;
    for (std::size_t c = 0; c < count; ++c) {
        const std::string id = "ch_" + std::to_string(10000 + c);
        const bool created = c % 2 == 0;
        if (created) {
            fixture->config.channels.push_back(
                ChannelConfig{id, "orvel_pub_" + std::to_string(c), generator.timestamp(c * 60)});
            if (c % 3 == 0) {
                continue; // not synced yet
            }
        }
        // The channel's newest update between minutes and about three weeks old.
        const std::uint64_t newest = 2'000'000 - generator.below(1'800'000);
        std::vector<OrvelProtocol::Notification> notifications;
        for (std::uint64_t seq = 1; seq <= updatesPerChannel; ++seq) {
            OrvelProtocol::Notification n = generator.notification(id, seq);
            n.createdAt = generator.timestamp(newest - (updatesPerChannel - seq) * 600);
            notifications.push_back(std::move(n));
        }
        std::optional<std::string> name;
        if (generator.chance(50)) {
            name = "Channel " + std::to_string(c);
        }
        channels.emplace_back(id, name, created, std::move(notifications),
                              std::vector<OrvelProtocol::PersistentCardUpdate>{}, 10,
                              updatesPerChannel, 0, SequenceSet{});
    }
    fixture->inbox = Inbox(std::move(channels));
    fixture->now = *Presentation::parseISO(generator.timestamp(2'000'000));
    return fixture;
}

struct TimelineFixture {
    Inbox inbox;
    Date now;
};

std::unique_ptr<TimelineFixture> makeTimeline(std::size_t total) {
    constexpr std::size_t channelCount = 20;
    OrvelTest::RecordGenerator generator(20240504);
    const std::uint64_t perChannel = total / channelCount;
    // About two months of history whatever the size.
    const std::uint64_t spacing = 60 * 86400 / perChannel;
    std::vector<ChannelInbox> channels;
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::string id = "ch_" + std::to_string(1000 + c);
        std::vector<OrvelProtocol::Notification> notifications;
        notifications.reserve(perChannel);
        for (std::uint64_t seq = 1; seq <= perChannel; ++seq) {
            OrvelProtocol::Notification n = generator.notification(id, seq);
            n.createdAt = generator.timestamp(seq * spacing + generator.below(spacing));
            notifications.push_back(std::move(n));
        }
        channels.emplace_back(id, std::nullopt, false, std::move(notifications),
                              std::vector<OrvelProtocol::PersistentCardUpdate>{},
                              perChannel * 9 / 10, perChannel, 0, SequenceSet{});
    }
    auto fixture = std::make_unique<TimelineFixture>();
    fixture->inbox = Inbox(std::move(channels));
    fixture->now = *Presentation::parseISO(generator.timestamp(61 * 86400));
    return fixture;
}

template <class Fixture, class Make>
const Fixture& cached(std::size_t size, Make make) {
    static std::map<std::size_t, std::unique_ptr<Fixture>> fixtures;
    auto& slot = fixtures[size];
    if (!slot) {
        slot = make(size);
    }
    return *slot;
}

void BM_Channels(benchmark::State& state) {
    const auto& f = cached<ChannelFixture>(static_cast<std::size_t>(state.range(0)), makeChannels);
    for (auto _ : state) {
        std::vector<ChannelDescriptor> result = Presentation::channels(f.config, f.inbox, f.now);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_VisibleChannels(benchmark::State& state) {
    const auto& f = cached<ChannelFixture>(static_cast<std::size_t>(state.range(0)), makeChannels);
    for (auto _ : state) {
        std::vector<ChannelDescriptor> result =
            Presentation::visibleChannels(f.config, f.inbox, f.now, 8);
        benchmark::DoNotOptimize(result);
    }
}

void BM_ActivityDays(benchmark::State& state) {
    const auto& f = cached<TimelineFixture>(static_cast<std::size_t>(state.range(0)), makeTimeline);
    const Calendar calendar("Europe/Berlin", "de_DE");
    std::size_t days = 0;
    for (auto _ : state) {
        std::vector<ActivityDayDescriptor> result =
            Presentation::activityDays(f.inbox, f.now, calendar);
        days = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["days"] = static_cast<double>(days);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_Channels)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisibleChannels)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ActivityDays)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
