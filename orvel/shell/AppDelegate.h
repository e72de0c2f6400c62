#pragma once

// Wires the app together: the app model over the files in the app's data
// directory (the inbox read in the background), the updater, then (once the
// event loop runs) the expanded activity controller and the tray item with
// its panel, and only then the model's start, so the tray item exists before
// the first sync. The caller holds the directory's lock for the delegate's
// life.

#include "orvel/cli/InFlightTransport.h"
#include "orvel/core/AppModel.h"
#include "orvel/core/AppStores.h"
#include "orvel/core/Clock.h"
#include "orvel/core/Preferences.h"
#include "orvel/core/UpdaterController.h"
#include "orvel/shell/ExpandedActivityWindowController.h"
#include "orvel/shell/FeedUpdateFramework.h"
#include "orvel/shell/FreedesktopNotifierBackend.h"
#include "orvel/shell/MenuBarController.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/QtExecutor.h"
#include "orvel/shell/ReduceMotionSetting.h"
#include "orvel/shell/Theme.h"
#include "orvelkit/store/AppSupportDirectory.h"

#include <memory>

namespace Orvel {

class AppDelegate {
public:
    // Creates the model and the updater over the files in `directory`
    // (prepared), or in memory without one. `executor` must outlive the
    // delegate.
    AppDelegate(QtExecutor& executor, std::optional<OrvelKit::AppSupportDirectory> directory);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The rest of the app, then model.start().
    void applicationDidFinishLaunching();

    AppModel& model() { return *model_; }
    const Clock& clock() const { return clock_; }

    // What orvelctl's commands need to run here (ControlService).
    OrvelKit::Task<bool> settle();
    void showPanel();
    // Writes the inbox save still waiting; before the app quits on a signal.
    void flushSaves();

private:
    QtExecutor& executor_;
    SystemClock clock_;
    std::shared_ptr<OrvelKit::HTTPTransport> transport_;
    AppStores stores_;
    // The model's requests, counted so orvelctl's commands can wait for them.
    std::shared_ptr<Cli::InFlightTransport> modelTransport_;
    std::shared_ptr<Preferences> preferences_;
    std::shared_ptr<FreedesktopNotifierBackend> notifierBackend_;
    std::unique_ptr<AppModel> model_;
    std::shared_ptr<FeedUpdateFramework> updateFramework_;
    std::unique_ptr<UpdaterController> updater_;
    // The activity window draws with the theme: it goes first.
    std::unique_ptr<Theme> theme_;
    std::unique_ptr<ExpandedActivityWindowController> expandedActivityController_;
    std::unique_ptr<ReduceMotionSetting> reduceMotion_;
    std::unique_ptr<ModelBridge> bridge_;
    std::unique_ptr<MenuBarController> menuBarController_;
};

} // namespace Orvel
