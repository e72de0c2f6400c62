#pragma once

// The app model the benchmarks measure: a registered desktop whose inbox
// already holds a long history (`total` updates over 20 channels) and an
// in-memory service that answers each sync with 50 new updates spread over 4
// channels. Nothing is announced and nothing is written.

#include "orvel/core/AppModel.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvelkit/async/ManualExecutor.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "tests/orvel/core/FakeService.h"
#include "tests/support/Records.h"

#include <memory>
#include <string>
#include <vector>

namespace OrvelBench {

using namespace OrvelKit;
using OrvelProtocol::ChannelSync;
using OrvelProtocol::Notification;
using OrvelProtocol::SyncResponse;

constexpr std::size_t channelCount = 20;
constexpr std::size_t newsPerSync = 50;
constexpr std::size_t channelsWithNews = 4;

inline std::string channelId(std::size_t i) {
    return "ch-" + std::to_string(1000 + i);
}

inline Notification update(const std::string& channel, std::uint64_t seq) {
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
inline std::unique_ptr<Orvel::AppModel> benchModel(std::shared_ptr<InboxStore> inbox,
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

} // namespace OrvelBench
