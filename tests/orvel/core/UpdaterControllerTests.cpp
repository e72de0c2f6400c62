#include "orvel/core/UpdaterController.h"
#include "orvelkit/async/ManualExecutor.h"

#include <gtest/gtest.h>

namespace Orvel {
namespace {

using namespace std::chrono_literals;

class FakeUpdateFramework final : public UpdateFramework {
public:
    bool canCheckForUpdates() const override { return true; }
    void checkForUpdates() override { ++checks; }
    bool automaticallyDownloadsUpdates() const override { return automatic; }
    void setAutomaticallyDownloadsUpdates(bool enabled) override { automatic = enabled; }
    void setUpdateReadyHandler(UpdateReadyHandler handler) override {
        updateReady = std::move(handler);
    }

    // The framework has downloaded an update.
    void offer(InstallNow installNow) {
        ASSERT_TRUE(updateReady);
        updateReady(std::move(installNow));
    }

    UpdateReadyHandler updateReady;
    bool automatic = false;
    int checks = 0;
};

class FakeIdleTime final : public IdleTimeSource {
public:
    std::optional<double> secondsSinceLastInput() const override {
        ++queries;
        return seconds;
    }
    std::optional<double> seconds = 0;
    mutable int queries = 0;
};

struct UpdaterControllerTest : testing::Test {
    OrvelKit::ManualExecutor executor;
    std::shared_ptr<FakeUpdateFramework> framework = std::make_shared<FakeUpdateFramework>();
    std::shared_ptr<FakeIdleTime> idle = std::make_shared<FakeIdleTime>();
    int installs = 0;

    UpdateFramework::InstallNow install() {
        return [this] { ++installs; };
    }
};

TEST_F(UpdaterControllerTest, HoldsAnUpdateWhileAnyWindowShowsAndUntilTheUserIsIdle) {
    UpdaterController controller(framework, idle, executor);
    controller.setInterfaceVisible(UpdaterController::activityInterface, true);
    controller.setInterfaceVisible(UpdaterController::popoverInterface, true);

    idle->seconds = 600;
    framework->offer(install());
    EXPECT_TRUE(controller.installationCheckRunning());
    executor.runUntilIdle();
    EXPECT_EQ(idle->queries, 1); // the first round runs at once
    executor.advance(45s);
    EXPECT_EQ(idle->queries, 4); // then every 15 seconds
    // A later offer replaces the held one within the same check.
    int secondInstalls = 0;
    framework->offer([&] { ++secondInstalls; });
    executor.runUntilIdle();
    EXPECT_EQ(idle->queries, 4);

    controller.setInterfaceVisible(UpdaterController::popoverInterface, false);
    executor.advance(15s);
    EXPECT_EQ(secondInstalls, 0); // the user is away, but the activity window still shows
    idle->seconds = 5;
    controller.setInterfaceVisible(UpdaterController::activityInterface, false);
    executor.advance(15s);
    EXPECT_EQ(secondInstalls, 0); // hidden, but the user is still busy
    idle->seconds = 59.9;
    executor.advance(15s);
    EXPECT_EQ(secondInstalls, 0);
    idle->seconds = 60;
    executor.advance(15s);
    EXPECT_EQ(secondInstalls, 1);
    EXPECT_EQ(installs, 0);
    EXPECT_FALSE(controller.pendingInstallation());

    const int queries = idle->queries;
    executor.advance(120s);
    EXPECT_EQ(idle->queries, queries); // the check has ended
}

TEST_F(UpdaterControllerTest, AnUnknownIdleTimeNeverInstalls) {
    idle->seconds = std::nullopt;
    UpdaterController controller(framework, idle, executor);
    framework->offer(install());
    UpdaterController withoutSource(framework, nullptr, executor);
    framework->offer(install());
    executor.advance(1h);
    EXPECT_EQ(installs, 0);
}

TEST_F(UpdaterControllerTest, DestroyingTheControllerStopsTheCheckEvenFromTheInstallAction) {
    {
        UpdaterController controller(framework, idle, executor);
        framework->offer(install());
        executor.advance(15s);
    }
    EXPECT_FALSE(framework->updateReady); // handed back to the framework
    idle->seconds = 3600;
    executor.advance(1h);
    EXPECT_EQ(installs, 0);

    auto controller = std::make_unique<UpdaterController>(framework, idle, executor);
    framework->offer([&] { controller.reset(); });
    executor.advance(15s);
    EXPECT_EQ(controller, nullptr);
    executor.advance(1h);
}

} // namespace
} // namespace Orvel
