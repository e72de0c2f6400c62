// What one refresh costs the owner's thread when the inbox already holds a
// long history: `range(0)` updates over 20 channels, 50 new ones per sync
// spread over 4 channels. The service answers at once from memory, so the
// figure is the model's own work: decoding the small answer, the merge, the
// bookkeeping, notifications and handing the inbox to the background save.
//
// BM_InboxScreenValues is what the inbox screen computes after each sync: the
// briefing, the cards and the texts, once per change.
//
// BM_IdleRefresh is the app left alone: every answer repeats what the inbox
// already holds, and the counter `inboxEncodes` shows that nothing is saved.

#include "orvel/core/AppModel.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvel/shell/InboxScreenValues.h"
#include "orvelkit/async/ManualExecutor.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/config/MemoryConfigStore.h"
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
using OrvelProtocol::ChannelSync;
using OrvelProtocol::Notification;
using OrvelProtocol::SyncResponse;

constexpr std::size_t channelCount = 20;
constexpr std::size_t newsPerSync = 50;
constexpr std::size_t channelsWithNews = 4;

std::string channelId(std::size_t i) {
    return "ch-" + std::to_string(1000 + i);
}

Notification update(const std::string& channel, std::uint64_t seq) {
    Notification n = OrvelTest::notification(channel, seq, seq % 7 == 0 ? "need" : "done",
                                             "2026-11-" + std::to_string(10 + seq % 18) +
                                                 "T10:" + std::to_string(10 + seq % 50) + ":00Z");
    n.title = "Build " + std::to_string(seq) + " finished on main";
    n.body = "All 312 tests passed in 4m" + std::to_string(seq % 60) + "s.";
    n.sender = "CI · " + channel;
    return n;
}

// Loads the prepared history; the writes themselves happen on the saver's
// thread and are measured by the store benchmarks.
class HistoryStore final : public InboxStore {
public:
    explicit HistoryStore(Inbox inbox) : inbox_(std::move(inbox)) {}
    Expected<Inbox, FileError> load() override { return std::move(inbox_); }
    void save(const Inbox&) override {}

private:
    Inbox inbox_;
};

class NoNotifications final : public Orvel::NotifierBackend {
public:
    void requestAuthorization(std::function<void(bool)> completion) override { completion(true); }
    void add(const Orvel::NotificationRequest&) override {}
};

// A registered desktop's model over `inbox` and `service`, nothing announced.
std::unique_ptr<Orvel::AppModel> benchModel(std::shared_ptr<InboxStore> inbox,
                                            std::shared_ptr<OrvelKit::HTTPTransport> service,
                                            Executor& executor, const Orvel::Clock& clock) {
    AppConfig config;
    config.deviceToken = "dev-token";
    return std::make_unique<Orvel::AppModel>(
        Orvel::AppModelServices{std::make_shared<MemoryConfigStore>(config),
                                std::move(inbox),
                                std::make_shared<Orvel::MemoryPreferences>(),
                                std::move(service),
                                std::make_shared<NoNotifications>(),
                                nullptr,
                                Calendar("UTC", "en_US"),
                                {}},
        executor, clock);
}

struct Fixture {
    ManualExecutor executor;
    Orvel::ManualClock clock{Date::fromSecondsSinceEpoch(1'796'551'200)};
    std::shared_ptr<OrvelTest::FakeService> service = std::make_shared<OrvelTest::FakeService>();
    std::unique_ptr<Orvel::AppModel> model;
    std::vector<std::uint64_t> latest = std::vector<std::uint64_t>(channelCount, 0);

    explicit Fixture(std::size_t total) {
        Inbox inbox;
        const std::uint64_t perChannel = total / channelCount;
        for (std::size_t c = 0; c < channelCount; ++c) {
            std::vector<Notification> notes;
            notes.reserve(perChannel);
            for (std::uint64_t seq = 1; seq <= perChannel; ++seq) {
                notes.push_back(update(channelId(c), seq));
            }
            inbox.merge(channelId(c), notes, perChannel);
            latest[c] = perChannel;
        }
        model =
            benchModel(std::make_shared<HistoryStore>(std::move(inbox)), service, executor, clock);
        model->start();
        answerWithNews(0);
        executor.runUntilIdle();
        model->flushSaves();
    }

    // The next answer: every channel, 50 new updates on 4 of them.
    void answerWithNews(std::size_t round) {
        SyncResponse response;
        for (std::size_t c = 0; c < channelCount; ++c) {
            ChannelSync record = OrvelTest::channelSync(channelId(c));
            if (round > 0 && c % (channelCount / channelsWithNews) == round % 5) {
                for (std::size_t i = 0; i < newsPerSync / channelsWithNews + 1; ++i) {
                    record.notifications.push_back(update(record.channel, ++latest[c]));
                }
            }
            record.latestSeq = latest[c];
            response.channels.push_back(std::move(record));
        }
        service->answer("sync", response);
    }
};

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
