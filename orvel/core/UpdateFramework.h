#pragma once

// The software-update framework behind the settings screen's update rows:
// it checks the feed, downloads updates and installs them.

#include <functional>

namespace Orvel {

class UpdateFramework {
public:
    // Installs the downloaded update at once (the app quits and relaunches).
    using InstallNow = std::function<void()>;
    // Receives a downloaded update that is ready to install, instead of the
    // framework installing it whenever it chooses.
    using UpdateReadyHandler = std::function<void(InstallNow installNow)>;

    virtual ~UpdateFramework() = default;

    // False while a check cannot start (one is running, or checking is off).
    virtual bool canCheckForUpdates() const = 0;
    // Checks the feed now, with the framework's own user interface.
    virtual void checkForUpdates() = 0;

    virtual bool automaticallyDownloadsUpdates() const = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool enabled) = 0;

    // Where ready updates go; an empty handler lets the framework install
    // them itself. The framework calls it on the app's executor.
    virtual void setUpdateReadyHandler(UpdateReadyHandler handler) = 0;
};

} // namespace Orvel
