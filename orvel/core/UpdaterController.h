#pragma once

// Keeps the app current through the update framework, and holds a downloaded
// update back until installing it cannot disturb the user: no window of the
// app is showing and there has been no input for a minute. While an update
// waits, an idle check runs every 15 seconds on the executor.

#include "orvel/core/IdleTimeSource.h"
#include "orvel/core/Preferences.h"
#include "orvel/core/UpdateFramework.h"
#include "orvelkit/async/Executor.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace Orvel {

class UpdaterController {
public:
    // The names of the app's surfaces in `visibleInterfaces`.
    static constexpr std::string_view popoverInterface = "popover";
    static constexpr std::string_view activityInterface = "activity";
    // The preference that remembers "Install updates automatically".
    static constexpr std::string_view automaticallyDownloadsUpdatesKey =
        "automaticallyDownloadsUpdates";

    // Without a framework, updates are off (NoUpdateFramework); without an
    // idle-time source the user never counts as idle. With preferences, the
    // choice to install automatically is restored from them and kept there.
    UpdaterController(std::shared_ptr<UpdateFramework> framework,
                      std::shared_ptr<const IdleTimeSource> idleTime, OrvelKit::Executor& executor,
                      std::shared_ptr<Preferences> preferences = nullptr);
    // Stops the idle check; an update still held back is not installed.
    ~UpdaterController();
    UpdaterController(const UpdaterController&) = delete;
    UpdaterController& operator=(const UpdaterController&) = delete;

    // For the settings screen's rows.
    bool canCheckForUpdates() const { return framework_->canCheckForUpdates(); }
    void checkForUpdates() { framework_->checkForUpdates(); }
    bool automaticallyDownloadsUpdates() const {
        return framework_->automaticallyDownloadsUpdates();
    }
    // Announces the change through onChange afterwards.
    void setAutomaticallyDownloadsUpdates(bool enabled);

    // Called after every change observers may want to show.
    std::function<void()> onChange;

    const std::set<std::string, std::less<>>& visibleInterfaces() const {
        return visibleInterfaces_;
    }
    // A surface shows or hides; then scheduleInstallationCheckIfNeeded().
    void setInterfaceVisible(std::string_view name, bool visible);

    // The framework has an update ready: it waits here (replacing one that
    // waited before) until the idle check installs it.
    void holdInstallation(UpdateFramework::InstallNow installNow);

    // Starts the idle check when an update waits and no check runs.
    void scheduleInstallationCheckIfNeeded();

    bool pendingInstallation() const { return static_cast<bool>(pendingInstallation_); }
    bool installationCheckRunning() const { return installationCheck_.active(); }

private:
    // One round of the idle check; false once the update was installed.
    bool checkInstallation();

    std::shared_ptr<UpdateFramework> framework_;
    std::shared_ptr<const IdleTimeSource> idleTime_;
    std::shared_ptr<Preferences> preferences_;
    OrvelKit::Executor& executor_;
    std::set<std::string, std::less<>> visibleInterfaces_;
    UpdateFramework::InstallNow pendingInstallation_;
    OrvelKit::Timer installationCheck_;
    // Lets the framework's handler, posted work and the timer find out that
    // the controller is gone.
    std::shared_ptr<UpdaterController*> self_;
};

} // namespace Orvel
