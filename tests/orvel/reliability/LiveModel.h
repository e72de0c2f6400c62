#pragma once

// A real app model as the desktop runs it: file stores and preferences in a
// directory of the test's, libcurl for the service, an event loop on the
// test's thread and the system clock.

#include "orvel/core/AppModel.h"
#include "orvel/core/FilePreferences.h"
#include "orvelkit/async/EventLoop.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/store/FileInboxStore.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

namespace OrvelTest {

class LiveModel {
public:
    // Files go to `directory`; a configuration there is used as it is.
    explicit LiveModel(std::filesystem::path directory,
                       OrvelKit::CurlTransportOptions transportOptions = {})
        : directory_(std::move(directory)) {
        configStore_ = std::make_shared<OrvelKit::FileConfigStore>(directory_ / "config.json");
        inboxStore_ = std::make_shared<OrvelKit::FileInboxStore>(directory_ / "inbox.json");
        preferences_ = std::make_shared<Orvel::FilePreferences>(directory_ / "preferences.json");
        transport_ = std::make_shared<OrvelKit::CurlTransport>(transportOptions);
        model_ = std::make_unique<Orvel::AppModel>(
            Orvel::AppModelServices{configStore_,
                                    inboxStore_,
                                    preferences_,
                                    transport_,
                                    nullptr,
                                    nullptr,
                                    OrvelKit::Calendar("UTC", "en_US"),
                                    {}},
            loop_, clock_);
    }

    // The executor must outlive every operation started on it: requests the
    // model sent in the background (read marks, dismissals) may still be on
    // their way, each holding the transport. They finish (or time out) before
    // the loop goes.
    ~LiveModel() {
        model_.reset();
        (void)runUntil([this] { return transport_.use_count() == 1; }, std::chrono::seconds(90));
    }
    LiveModel(const LiveModel&) = delete;
    LiveModel& operator=(const LiveModel&) = delete;

    // A configuration that points at `serverURL`: fresh and unpaired, or
    // with `device` and the channel of `engagement`. What was written.
    static OrvelKit::AppConfig writeConfig(const std::filesystem::path& directory,
                                           std::string serverURL,
                                           const OrvelProtocol::DeviceCredentials& device = {},
                                           const OrvelProtocol::Engagement& engagement = {}) {
        OrvelKit::AppConfig config;
        config.serverURL = std::move(serverURL);
        if (!device.deviceToken.empty()) {
            config.deviceToken = device.deviceToken;
            config.accountId = device.accountId;
            config.channels = {{engagement.channel, engagement.token, "2026-12-06T10:00:00Z"}};
        }
        OrvelKit::FileConfigStore(directory / "config.json").save(config);
        return config;
    }

    Orvel::AppModel& operator*() { return *model_; }
    Orvel::AppModel* operator->() { return model_.get(); }
    OrvelKit::EventLoop& loop() { return loop_; }

    // Runs the loop until `task` finishes.
    template <class T>
    T run(OrvelKit::Task<T> task) {
        return loop_.runUntilComplete(std::move(task));
    }
    void refresh() { run(model_->refresh()); }

    // Runs the loop (and so the model's background sends) until `done` holds
    // or `limit` has passed; whether it came to hold.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        bool held = done();
        auto check = loop_.scheduleRepeating(std::chrono::milliseconds(2), [&] {
            held = done();
            if (held || std::chrono::steady_clock::now() > deadline) {
                loop_.stop();
            }
        });
        if (!held) {
            loop_.run();
        }
        return held;
    }
    // Lets work in flight (background sends) finish.
    void settle(std::chrono::milliseconds time = std::chrono::milliseconds(200)) {
        (void)runUntil([] { return false; }, time);
    }

    // What a fresh start would load from the files, once pending saves are written.
    OrvelKit::AppConfig savedConfig() {
        model_->flushSaves();
        return OrvelKit::FileConfigStore(directory_ / "config.json").load().value();
    }
    OrvelKit::Inbox savedInbox() {
        model_->flushSaves();
        return OrvelKit::FileInboxStore(directory_ / "inbox.json").load().value();
    }

private:
    std::filesystem::path directory_;
    OrvelKit::EventLoop loop_;
    Orvel::SystemClock clock_;
    std::shared_ptr<OrvelKit::FileConfigStore> configStore_;
    std::shared_ptr<OrvelKit::FileInboxStore> inboxStore_;
    std::shared_ptr<Orvel::FilePreferences> preferences_;
    std::shared_ptr<OrvelKit::CurlTransport> transport_;
    std::unique_ptr<Orvel::AppModel> model_;
};

} // namespace OrvelTest
