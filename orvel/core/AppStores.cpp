#include "orvel/core/AppStores.h"

#include "orvel/core/FilePreferences.h"
#include "orvel/core/FileProblems.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/store/FileInboxStore.h"
#include "orvelkit/store/MemoryInboxStore.h"

#include <system_error>
#include <utility>

namespace Orvel {

using namespace OrvelKit;

void AppStores::Relay::show(std::string text) {
    if (model) {
        model->showFileProblem(std::move(text));
    } else {
        early.push_back(std::move(text));
    }
}

AppStores AppStores::open(const std::optional<AppSupportDirectory>& directory, Executor& executor) {
    AppStores stores;
    std::optional<FileError> unavailable;
    if (!directory) {
        unavailable = FileError{"locate", "~/.local/share/orvel",
                                std::make_error_code(std::errc::no_such_file_or_directory)};
    } else if (auto prepared = directory->prepare(); !prepared) {
        unavailable = std::move(prepared).error();
    }
    if (unavailable) {
        stores.config = std::make_shared<MemoryConfigStore>();
        stores.inbox = std::make_shared<MemoryInboxStore>();
        stores.preferences = std::make_shared<MemoryPreferences>();
        stores.relay_->show(FileProblems::noDataDirectory(*unavailable));
        return stores;
    }
    // The inbox store reports from the background saver's thread too.
    StoreDiagnosticSink sink = [relay = std::weak_ptr<Relay>(stores.relay_),
                                &executor](const StoreDiagnostic& diagnostic) {
        if (auto text = FileProblems::describe(diagnostic)) {
            executor.post([relay, text = std::move(*text)]() mutable {
                if (auto alive = relay.lock()) {
                    alive->show(std::move(text));
                }
            });
        }
    };
    stores.config = std::make_shared<FileConfigStore>(directory->configFile(), sink);
    stores.inbox = std::make_shared<FileInboxStore>(directory->inboxFile(), sink);
    stores.preferences =
        std::make_shared<FilePreferences>(directory->directory() / "preferences.json", sink);
    return stores;
}

void AppStores::attach(AppModel& model) {
    relay_->model = &model;
    for (auto& text : std::exchange(relay_->early, {})) {
        relay_->show(std::move(text));
    }
}

void AppStores::detach() {
    relay_->model = nullptr;
}

} // namespace Orvel
