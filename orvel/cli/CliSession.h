#pragma once

// One run of orvelctl against a data directory: the app model over the same
// files as the desktop app (config.json, inbox.json, preferences.json, all
// written atomically), driven on the environment's event loop. A session that
// may write holds the directory's lock (DataDirectoryLock.h) until it ends.

#include "orvel/cli/CliEnvironment.h"
#include "orvel/cli/InFlightTransport.h"
#include "orvel/core/AppModel.h"
#include "orvel/core/NotifierBackend.h"
#include "orvelkit/store/DataDirectoryLock.h"
#include "orvelkit/support/Expected.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Orvel::Cli {

struct SessionOptions {
    // Default: the environment's default data directory.
    std::optional<std::filesystem::path> dataDirectory;
    // Use this server from now on (already checked to be an http(s) URL).
    std::optional<std::string> server;
    // Null: no notifications are shown.
    std::shared_ptr<NotifierBackend> notifier;
    // Take the directory's lock: the command may change the files.
    bool exclusive = false;
};

struct SessionError {
    // A line for the user.
    std::string message;
    // Another process holds the directory; what it recorded about itself.
    std::optional<OrvelKit::DataDirectoryLock::Holder> holder;
    bool busy = false;
};

class CliSession {
public:
    // Prepares the directory (mode 0700), takes its lock when asked, applies
    // --server and builds the model. Fails, with a line for the user, when
    // there is no directory or it cannot be created, when another process
    // holds it (`busy`), or when --server names another server than the one
    // this directory's device belongs to: its credentials would be sent to
    // that server.
    static OrvelKit::Expected<std::unique_ptr<CliSession>, SessionError>
    open(const CliEnvironment& environment, SessionOptions options);

    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    AppModel& model() { return *model_; }
    const std::filesystem::path& dataDirectory() const { return directory_; }
    const InFlightTransport& transport() const { return *transport_; }

    // Runs the loop until `task` completes and returns its result.
    template <class T>
    T run(OrvelKit::Task<T> task) {
        return environment_.loop.runUntilComplete(std::move(task));
    }

    // Completes when no request is in flight, at most the environment's
    // settle limit later; false when time ran out first.
    OrvelKit::Task<bool> settle();

    // Writes every waiting save, then reports what the stores could not read
    // or write: one line each, for standard error. `failed` tells whether
    // something could not be saved.
    struct Problems {
        std::vector<std::string> lines;
        bool failed = false;
    };
    Problems finish();

private:
    struct StoreProblems;

    CliSession(const CliEnvironment& environment, std::filesystem::path directory);

    const CliEnvironment& environment_;
    std::filesystem::path directory_;
    // Released after the model has written what was waiting.
    std::optional<OrvelKit::DataDirectoryLock> lock_;
    std::shared_ptr<StoreProblems> problems_;
    std::shared_ptr<InFlightTransport> transport_;
    std::unique_ptr<AppModel> model_;
};

} // namespace Orvel::Cli
