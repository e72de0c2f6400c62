#pragma once

#include "orvel/core/UpdateFramework.h"

namespace Orvel {

// Updates switched off: nothing can be checked and nothing is ever offered.
// The "install automatically" setting is kept so the toggle behaves.
class NoUpdateFramework final : public UpdateFramework {
public:
    bool canCheckForUpdates() const override { return false; }
    void checkForUpdates() override {}
    bool automaticallyDownloadsUpdates() const override { return automaticallyDownloads_; }
    void setAutomaticallyDownloadsUpdates(bool enabled) override {
        automaticallyDownloads_ = enabled;
    }
    void setUpdateReadyHandler(UpdateReadyHandler) override {}

private:
    bool automaticallyDownloads_ = false;
};

} // namespace Orvel
