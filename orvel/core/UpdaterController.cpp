#include "orvel/core/UpdaterController.h"

#include "orvel/core/IdleUpdateInstallationPolicy.h"
#include "orvel/core/NoUpdateFramework.h"

#include <utility>

namespace Orvel {

UpdaterController::UpdaterController(std::shared_ptr<UpdateFramework> framework,
                                     std::shared_ptr<const IdleTimeSource> idleTime,
                                     OrvelKit::Executor& executor,
                                     std::shared_ptr<Preferences> preferences)
    : framework_(framework ? std::move(framework) : std::make_shared<NoUpdateFramework>()),
      idleTime_(std::move(idleTime)), preferences_(std::move(preferences)), executor_(executor),
      self_(std::make_shared<UpdaterController*>(this)) {
    if (preferences_) {
        if (auto automatic = preferences_->boolValue(automaticallyDownloadsUpdatesKey);
            automatic && *automatic != framework_->automaticallyDownloadsUpdates()) {
            framework_->setAutomaticallyDownloadsUpdates(*automatic);
        }
    }
    framework_->setUpdateReadyHandler(
        [self = std::weak_ptr<UpdaterController*>(self_)](UpdateFramework::InstallNow installNow) {
            if (auto controller = self.lock()) {
                (*controller)->holdInstallation(std::move(installNow));
            }
        });
}

UpdaterController::~UpdaterController() {
    framework_->setUpdateReadyHandler({});
}

void UpdaterController::setAutomaticallyDownloadsUpdates(bool enabled) {
    framework_->setAutomaticallyDownloadsUpdates(enabled);
    if (preferences_) {
        preferences_->set(automaticallyDownloadsUpdatesKey,
                          framework_->automaticallyDownloadsUpdates());
    }
    if (onChange) {
        onChange();
    }
}

void UpdaterController::setInterfaceVisible(std::string_view name, bool visible) {
    if (visible) {
        visibleInterfaces_.emplace(name);
    } else if (auto found = visibleInterfaces_.find(name); found != visibleInterfaces_.end()) {
        visibleInterfaces_.erase(found);
    }
    scheduleInstallationCheckIfNeeded();
}

void UpdaterController::holdInstallation(UpdateFramework::InstallNow installNow) {
    if (!installNow) {
        return;
    }
    pendingInstallation_ = std::move(installNow);
    scheduleInstallationCheckIfNeeded();
}

void UpdaterController::scheduleInstallationCheckIfNeeded() {
    if (!pendingInstallation_ || installationCheck_.active()) {
        return;
    }
    const std::weak_ptr<UpdaterController*> self = self_;
    installationCheck_ =
        executor_.scheduleRepeating(IdleUpdateInstallationPolicy::checkInterval, [self]() -> bool {
            auto controller = self.lock();
            return controller && (*controller)->checkInstallation();
        });
    // The first round runs as soon as the executor is free, not after the
    // first interval.
    executor_.post([self] {
        if (auto controller = self.lock()) {
            (*controller)->checkInstallation();
        }
    });
}

bool UpdaterController::checkInstallation() {
    if (!installationCheck_.active()) {
        return false; // installed (or stopped) by an earlier round
    }
    if (!pendingInstallation_) {
        installationCheck_.cancel();
        return false;
    }
    const auto idleSeconds = idleTime_ ? idleTime_->secondsSinceLastInput() : std::nullopt;
    if (!visibleInterfaces_.empty() || !IdleUpdateInstallationPolicy::isIdle(idleSeconds)) {
        return true;
    }
    auto installNow = std::exchange(pendingInstallation_, nullptr);
    installationCheck_.cancel();
    // The controller may be gone once this returns (the app quits to install).
    installNow();
    return false;
}

} // namespace Orvel
