#pragma once

// An app model on a manual executor, a pinned clock, in-memory stores and
// preferences, and a fake service: everything a scenario test needs.

#include "orvel/core/AppModel.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvelkit/async/ManualExecutor.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/store/MemoryInboxStore.h"
#include "tests/orvel/core/FakeService.h"

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace OrvelTest {

// Counts what the model asked to show; grants permission at once.
class ShownNotifications final : public Orvel::NotifierBackend {
public:
    void requestAuthorization(std::function<void(bool)> completion) override { completion(true); }
    void add(const Orvel::NotificationRequest& request) override { shown.push_back(request); }
    std::vector<Orvel::NotificationRequest> shown;
};

// A store held in memory that counts its saves (with a file store, each is an
// encoding and a write) and can stand for a file that cannot be read.
template <class Store, class Memory, class Value>
class TestStore final : public Store {
public:
    OrvelKit::Expected<Value, OrvelKit::FileError> load() override {
        if (unreadable) {
            return OrvelKit::unexpected(*unreadable);
        }
        return memory_.load();
    }
    void save(const Value& value) override {
        memory_.save(value);
        ++saves;
    }
    std::atomic<int> saves{0};
    std::optional<OrvelKit::FileError> unreadable;

private:
    Memory memory_;
};
using TestConfigStore =
    TestStore<OrvelKit::ConfigStore, OrvelKit::MemoryConfigStore, OrvelKit::AppConfig>;
using TestInboxStore = TestStore<OrvelKit::InboxStore, OrvelKit::MemoryInboxStore, OrvelKit::Inbox>;

inline OrvelProtocol::Notification update(std::string channel, std::uint64_t seq,
                                          std::optional<std::string> status = "need",
                                          std::string createdAt = "2026-12-06T09:00:00Z") {
    OrvelProtocol::Notification note;
    note.channel = std::move(channel);
    note.seq = seq;
    note.id = note.channel + "-" + std::to_string(seq);
    note.title = "Update " + std::to_string(seq);
    note.status = std::move(status);
    note.createdAt = std::move(createdAt);
    return note;
}

inline OrvelProtocol::ChannelSync channelRecord(std::string channel,
                                                std::vector<OrvelProtocol::Notification> notes = {},
                                                std::vector<std::uint64_t> dismissed = {}) {
    OrvelProtocol::ChannelSync record;
    record.channel = std::move(channel);
    for (const auto& note : notes) {
        record.latestSeq = std::max(record.latestSeq, note.seq);
    }
    record.notifications = std::move(notes);
    record.dismissedSeqs = std::move(dismissed);
    return record;
}

struct ModelHarness {
    // 2026-12-06T10:00:00Z
    static constexpr std::int64_t start = 1'796'551'200;

    OrvelKit::ManualExecutor executor;
    Orvel::ManualClock clock{OrvelKit::Date::fromSecondsSinceEpoch(start)};
    std::shared_ptr<FakeService> service = std::make_shared<FakeService>();
    std::shared_ptr<TestConfigStore> configStore = std::make_shared<TestConfigStore>();
    std::shared_ptr<TestInboxStore> inboxStore = std::make_shared<TestInboxStore>();
    std::shared_ptr<Orvel::MemoryPreferences> preferences =
        std::make_shared<Orvel::MemoryPreferences>();
    std::shared_ptr<ShownNotifications> notifications = std::make_shared<ShownNotifications>();
    std::unique_ptr<Orvel::AppModel> model;

    ModelHarness() {
        service->answer("pair/bootstrap", OrvelProtocol::DeviceCredentials{"acct-1", "dev-token"});
        service->answer("sync", OrvelProtocol::SyncResponse{});
        service->answer("dismiss", OrvelProtocol::DismissAck{});
        service->answer("read", OrvelProtocol::ReadAck{});
    }

    void paired() {
        auto config = configStore->load().value();
        config.deviceToken = "dev-token";
        config.accountId = "acct-1";
        configStore->save(config);
    }

    // On a pinned calendar, or one asked of `hostCalendar` at each refresh.
    Orvel::AppModel& build(std::function<OrvelKit::Calendar()> hostCalendar = {}) {
        model = std::make_unique<Orvel::AppModel>(
            Orvel::AppModelServices{configStore, inboxStore, preferences, service, notifications,
                                    nullptr, OrvelKit::Calendar("UTC", "en_US"),
                                    std::move(hostCalendar)},
            executor, clock);
        return *model;
    }

    // Runs `task` until nothing is left to do and returns its result.
    template <class T>
    T run(OrvelKit::Task<T> task) {
        std::optional<T> result;
        OrvelKit::spawn(executor, std::move(task), [&](T value) { result = std::move(value); });
        executor.runUntilIdle();
        return std::move(result).value();
    }
    void run(OrvelKit::Task<void> task) {
        bool done = false;
        OrvelKit::spawn(executor, std::move(task), [&] { done = true; });
        executor.runUntilIdle();
        if (!done) {
            throw std::runtime_error("task did not finish");
        }
    }

    OrvelKit::Inbox savedInbox() {
        model->flushSaves();
        return inboxStore->load().value();
    }
};

} // namespace OrvelTest
