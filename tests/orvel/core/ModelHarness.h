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
#include "tests/support/RecordingNotifierBackend.h"
#include "tests/support/Records.h"

#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace OrvelTest {

// A store held in memory that counts its saves (with a file store, each is an
// encoding and a write) and can stand for a file that cannot be read.
template <class Store, class Memory, class Value>
class TestStore final : public Store {
public:
    OrvelKit::Expected<Value, OrvelKit::FileError> load() override {
        if (held.valid()) {
            held.wait();
        }
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
    // While valid, a load waits for it (a slow file, read in the background).
    std::shared_future<void> held;

private:
    Memory memory_;
};
using TestConfigStore =
    TestStore<OrvelKit::ConfigStore, OrvelKit::MemoryConfigStore, OrvelKit::AppConfig>;
using TestInboxStore = TestStore<OrvelKit::InboxStore, OrvelKit::MemoryInboxStore, OrvelKit::Inbox>;

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
    std::shared_ptr<RecordingNotifierBackend> notifications =
        std::make_shared<RecordingNotifierBackend>();
    // Null: launch at login is unavailable.
    std::shared_ptr<Orvel::LaunchAtLogin> launchAtLogin;
    bool loadInboxInBackground = false;
    std::unique_ptr<Orvel::AppModel> model;

    ModelHarness() {
        service->answer("pair/bootstrap", OrvelProtocol::DeviceCredentials{"acct-1", "dev-token"});
        service->answer("sync", OrvelProtocol::SyncResponse{});
        service->answer("dismiss", OrvelProtocol::DismissAck{});
        service->answer("read", OrvelProtocol::ReadAck{});
    }

    // A registered desktop; `channels` are configured with tokens "tok-<id>".
    void paired(const std::vector<std::string>& channels = {}) {
        auto config = configStore->load().value();
        config.deviceToken = "dev-token";
        config.accountId = "acct-1";
        for (const auto& channel : channels) {
            config.channels.push_back({channel, "tok-" + channel, "2026-01-01T00:00:00Z"});
        }
        configStore->save(config);
    }

    // From now on the service's sync answer reports `channels`.
    void syncAnswers(std::vector<OrvelProtocol::ChannelSync> channels) {
        service->answer("sync", OrvelProtocol::SyncResponse{std::move(channels)});
    }

    // On a pinned calendar, or one asked of `hostCalendar` at each refresh;
    // on the harness's stores unless given others.
    Orvel::AppModel& build(std::function<OrvelKit::Calendar()> hostCalendar = {},
                           std::shared_ptr<OrvelKit::ConfigStore> config = nullptr,
                           std::shared_ptr<OrvelKit::InboxStore> inbox = nullptr,
                           std::shared_ptr<Orvel::Preferences> prefs = nullptr) {
        model = std::make_unique<Orvel::AppModel>(
            Orvel::AppModelServices{config ? config : configStore, inbox ? inbox : inboxStore,
                                    prefs ? prefs : preferences, service, notifications,
                                    launchAtLogin, OrvelKit::Calendar("UTC", "en_US"),
                                    std::move(hostCalendar), loadInboxInBackground},
            executor, clock);
        return *model;
    }

    // A paired model (configured `channels`) that has synced `answer` once.
    Orvel::AppModel& synced(std::vector<OrvelProtocol::ChannelSync> answer,
                            const std::vector<std::string>& channels = {}) {
        paired(channels);
        syncAnswers(std::move(answer));
        build();
        run(model->refresh());
        return *model;
    }

    // A paired model started (registered, synced once) on `answer`.
    Orvel::AppModel& started(std::vector<OrvelProtocol::ChannelSync> answer = {}) {
        paired();
        syncAnswers(std::move(answer));
        build();
        model->start();
        executor.runUntilIdle();
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
