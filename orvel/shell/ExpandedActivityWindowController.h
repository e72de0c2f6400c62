#pragma once

// The expanded activity window's controller. For now a stand-in with the
// controller's interface: it keeps track of being open and tells the updater
// that the "activity" surface shows, without drawing a window yet.

#include "orvel/core/AppModel.h"
#include "orvel/core/UpdaterController.h"

namespace Orvel {

class ExpandedActivityWindowController {
public:
    ExpandedActivityWindowController(AppModel& model, UpdaterController& updater);
    ~ExpandedActivityWindowController();
    ExpandedActivityWindowController(const ExpandedActivityWindowController&) = delete;
    ExpandedActivityWindowController& operator=(const ExpandedActivityWindowController&) = delete;

    void open();
    void close();
    bool isOpen() const { return open_; }
    // How many times the window was asked to open.
    int openCount() const { return openCount_; }

private:
    AppModel& model_;
    UpdaterController& updater_;
    bool open_ = false;
    int openCount_ = 0;
};

} // namespace Orvel
