#pragma once

// The stores the desktop app keeps its files in, and how what they report
// reaches the user: every problem with a file (one that cannot be read, one
// moved aside, a save that failed, a data directory that cannot be made
// ready) becomes the model's `lastError`, naming the file.

#include "orvel/core/AppModel.h"
#include "orvel/core/Preferences.h"
#include "orvelkit/async/Executor.h"
#include "orvelkit/config/ConfigStore.h"
#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/InboxStore.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Orvel {

class AppStores {
public:
    // The file stores in `directory` ("config.json", "inbox.json",
    // "preferences.json"). Without a directory, or when it cannot be made
    // ready, the stores are in memory and the reason is shown: nothing would
    // be kept after exit. Reports reach the model through `executor`, which
    // must outlive the stores.
    static AppStores open(const std::optional<OrvelKit::AppSupportDirectory>& directory,
                          OrvelKit::Executor& executor);

    // From now on the model shows what the stores report, including what
    // they reported before. Executor's thread only; the model must outlive
    // this object or be detached with detach().
    void attach(AppModel& model);
    void detach();

    std::shared_ptr<OrvelKit::ConfigStore> config;
    std::shared_ptr<OrvelKit::InboxStore> inbox;
    std::shared_ptr<Preferences> preferences;

private:
    // Lives on the executor's thread; reports from other threads are posted.
    struct Relay {
        AppModel* model = nullptr;
        std::vector<std::string> early;
        void show(std::string text);
    };

    std::shared_ptr<Relay> relay_ = std::make_shared<Relay>();
};

} // namespace Orvel
