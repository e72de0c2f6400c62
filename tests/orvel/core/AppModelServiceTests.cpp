// The app model against the development service over real HTTP: the path a
// user's desktop takes from first launch to a dismissed update.

#include "orvel/core/MemoryPreferences.h"
#include "orvelkit/async/ManualExecutor.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/store/MemoryInboxStore.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tools/devserver/DevServer.h"
#include "tools/send/Publisher.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace OrvelTest;

struct Desktop {
    OrvelDev::DevServer server{OrvelDev::DevServerOptions{}};
    OrvelKit::ManualExecutor executor;
    Orvel::ManualClock clock{OrvelKit::Date::now()};
    std::shared_ptr<ShownNotifications> notifications = std::make_shared<ShownNotifications>();
    std::shared_ptr<OrvelKit::MemoryConfigStore> configStore =
        std::make_shared<OrvelKit::MemoryConfigStore>();
    std::unique_ptr<Orvel::AppModel> model;

    Desktop() {
        EXPECT_TRUE(server.start());
        auto config = configStore->load().value();
        config.serverURL = server.baseURL();
        configStore->save(config);
        model = std::make_unique<Orvel::AppModel>(
            Orvel::AppModelServices{configStore,
                                    std::make_shared<OrvelKit::MemoryInboxStore>(),
                                    std::make_shared<Orvel::MemoryPreferences>(),
                                    std::make_shared<OrvelKit::CurlTransport>(),
                                    notifications,
                                    nullptr,
                                    OrvelKit::Calendar("UTC", "en_US"),
                                    {}},
            executor, clock);
    }

    template <class T>
    T await(OrvelKit::Task<T> task) {
        std::optional<T> result;
        OrvelKit::spawn(executor, std::move(task), [&](T value) { result = std::move(value); });
        EXPECT_TRUE(executor.runUntil([&] { return result.has_value(); }));
        return std::move(result).value();
    }
    void await(OrvelKit::Task<void> task) {
        bool done = false;
        OrvelKit::spawn(executor, std::move(task), [&] { done = true; });
        EXPECT_TRUE(executor.runUntil([&] { return done; }));
    }
    // Runs the executor until `done` holds (service calls finish on the
    // transport's thread).
    bool until(const std::function<bool()>& done) { return executor.runUntil(done); }
};

TEST(AppModelService, FromFirstLaunchToADismissalTheServiceKnows) {
    Desktop desktop;
    auto& model = *desktop.model;
    model.start();
    ASSERT_TRUE(desktop.until([&] {
        return model.config().isPaired() && model.lastError() == std::nullopt &&
               model.now() != OrvelKit::Date{};
    }));

    desktop.await(model.createEngagement());
    ASSERT_FALSE(model.lastError()) << *model.lastError();
    ASSERT_TRUE(model.engagement());
    const auto channel = model.engagement()->channel;
    ASSERT_NE(model.inbox().channel(channel), nullptr);

    // An agent posts the way orvel-send does.
    OrvelProtocol::NotificationInput input;
    input.channel = channel;
    input.title = "Deploy needs approval";
    input.status = "need";
    input.sender = "Release bot";
    const auto published =
        OrvelSend::publish({desktop.server.baseURL(), model.engagement()->token, input});
    ASSERT_TRUE(published) << published.error();

    // The next tick delivers it and shows it.
    desktop.executor.advance(std::chrono::seconds(20));
    ASSERT_TRUE(
        desktop.until([&] { return !model.inbox().channel(channel)->notifications().empty(); }));
    const auto delivered = model.inbox().channel(channel)->notifications().front();
    EXPECT_EQ(delivered.title, "Deploy needs approval");
    ASSERT_TRUE(desktop.until([&] { return desktop.notifications->shown.size() == 1; }));
    EXPECT_EQ(desktop.notifications->shown[0].subtitle, "Release bot");

    // Read and dismiss reach the service: its own record of the channel
    // reports them.
    model.markAllRead();
    model.dismiss(delivered.id);
    const OrvelKit::OrvelClient client(desktop.server.baseURL(), model.transport());
    const auto recorded = [&] {
        const auto answer = desktop.await(client.sync(*model.config().deviceToken, {}, {}));
        if (!answer) {
            return false;
        }
        for (const auto& record : answer->channels) {
            if (record.channel == channel) {
                return record.readSeq == delivered.seq &&
                       std::find(record.dismissedSeqs.begin(), record.dismissedSeqs.end(),
                                 delivered.seq) != record.dismissedSeqs.end();
            }
        }
        return false;
    };
    bool reached = false;
    for (int attempt = 0; attempt < 50 && !reached; ++attempt) {
        reached = recorded();
    }
    EXPECT_TRUE(reached);
    desktop.await(model.refresh());
    EXPECT_FALSE(model.lastError());
    EXPECT_EQ(desktop.notifications->shown.size(), 1u);
}

} // namespace
