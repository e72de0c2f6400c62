#include "orvel/shell/ExpandedActivityWindowController.h"

namespace Orvel {

ExpandedActivityWindowController::ExpandedActivityWindowController(AppModel& model,
                                                                   UpdaterController& updater)
    : model_(model), updater_(updater) {}

ExpandedActivityWindowController::~ExpandedActivityWindowController() {
    close();
}

void ExpandedActivityWindowController::open() {
    ++openCount_;
    if (open_) {
        return;
    }
    open_ = true;
    updater_.setInterfaceVisible(UpdaterController::activityInterface, true);
}

void ExpandedActivityWindowController::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    updater_.setInterfaceVisible(UpdaterController::activityInterface, false);
}

} // namespace Orvel
