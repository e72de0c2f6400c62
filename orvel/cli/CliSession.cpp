#include "orvel/cli/CliSession.h"

#include "orvel/core/FilePreferences.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/FileInboxStore.h"

#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

namespace Orvel::Cli {

using OrvelKit::StoreDiagnostic;
using OrvelKit::unexpected;

// What the stores reported; they may report from the background saver's thread.
struct CliSession::StoreProblems {
    std::mutex mutex;
    Problems problems;

    void add(const StoreDiagnostic& diagnostic) {
        const auto file = diagnostic.file.string();
        std::string line;
        bool failure = false;
        switch (diagnostic.event) {
        case StoreDiagnostic::Event::readFailed:
            line = "couldn't read " + file + ": " + diagnostic.message;
            break;
        case StoreDiagnostic::Event::decodeFailed:
            line = file + " is unreadable: " + diagnostic.message;
            break;
        case StoreDiagnostic::Event::preserved:
            line = "kept the unreadable file as " + file + " (" + diagnostic.message + ")";
            break;
        case StoreDiagnostic::Event::preserveFailed:
            line = "couldn't move the unreadable " + file + " aside: " + diagnostic.message;
            break;
        case StoreDiagnostic::Event::restrictFailed:
            line = "couldn't make " + file + " private: " + diagnostic.message;
            break;
        case StoreDiagnostic::Event::encodeFailed:
        case StoreDiagnostic::Event::writeFailed:
            line = "couldn't save " + file + ": " + diagnostic.message;
            failure = true;
            break;
        }
        std::lock_guard lock(mutex);
        problems.lines.push_back(std::move(line));
        problems.failed = problems.failed || failure;
    }
};

namespace {

std::string_view withoutTrailingSlashes(std::string_view url) {
    while (url.ends_with('/')) {
        url.remove_suffix(1);
    }
    return url;
}

} // namespace

CliSession::CliSession(const CliEnvironment& environment, std::filesystem::path directory)
    : environment_(environment), directory_(std::move(directory)),
      problems_(std::make_shared<StoreProblems>()),
      transport_(std::make_shared<InFlightTransport>(environment.transport)) {}

CliSession::~CliSession() {
    // The model writes what is still waiting before it goes.
    model_.reset();
}

namespace {

SessionError failure(std::string message) {
    return SessionError{std::move(message), std::nullopt, false};
}

// Another process holds the directory; it may not have said who it is yet.
SessionError busy(const std::filesystem::path& directory) {
    using OrvelKit::DataDirectoryLock;
    std::optional<DataDirectoryLock::Holder> holder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        holder = DataDirectoryLock::holder(directory);
        if (holder && holder->announced) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    auto message = directory.string() + " is in use by another process";
    if (holder) {
        message += " (pid " + std::to_string(holder->pid) + ")";
    }
    return SessionError{std::move(message), std::move(holder), true};
}

} // namespace

OrvelKit::Expected<std::unique_ptr<CliSession>, SessionError>
CliSession::open(const CliEnvironment& environment, SessionOptions options) {
    const auto directory =
        options.dataDirectory ? options.dataDirectory : environment.defaultDataDirectory;
    if (!directory) {
        return unexpected(
            failure("no data directory: set HOME or XDG_DATA_HOME, or give --data-dir"));
    }
    const OrvelKit::AppSupportDirectory support(*directory);
    std::error_code error;
    const bool exists = std::filesystem::exists(*directory, error);
    if (exists && !std::filesystem::is_directory(*directory, error)) {
        return unexpected(failure(directory->string() + " is not a directory"));
    }
    // The app's own directory is kept private; a directory the user named
    // that already exists keeps its permissions (the files in it are
    // written for the user only either way).
    if (!options.dataDirectory || !exists) {
        if (auto prepared = support.prepare(); !prepared) {
            return unexpected(failure("cannot use " + directory->string() + ": " +
                                      prepared.error().description()));
        }
    }

    std::unique_ptr<CliSession> session(new CliSession(environment, *directory));
    if (options.exclusive) {
        auto lock = OrvelKit::DataDirectoryLock::acquire(*directory);
        if (!lock) {
            if (lock.error().busy) {
                return unexpected(busy(*directory));
            }
            return unexpected(failure("cannot use " + directory->string() + ": " +
                                      lock.error().error.description()));
        }
        session->lock_.emplace(std::move(*lock));
        // orvelctl takes no requests: another one gives up at once.
        session->lock_->advertise("");
    }
    const OrvelKit::StoreDiagnosticSink sink =
        [problems = session->problems_](const StoreDiagnostic& diagnostic) {
            problems->add(diagnostic);
        };
    auto configStore = std::make_shared<OrvelKit::FileConfigStore>(support.configFile(), sink);
    auto inboxStore = std::make_shared<OrvelKit::FileInboxStore>(support.inboxFile(), sink);
    auto preferences = std::make_shared<FilePreferences>(*directory / "preferences.json", sink);

    if (options.server) {
        auto loaded = configStore->load();
        if (!loaded) {
            return unexpected("couldn't read " + loaded.error().path.string() + ": " +
                              loaded.error().code.message());
        }
        auto config = std::move(loaded).value();
        if (withoutTrailingSlashes(config.serverURL) != withoutTrailingSlashes(*options.server)) {
            if (config.isPaired()) {
                return unexpected(failure("the device in " + directory->string() + " belongs to " +
                                          config.serverURL + "; use another --data-dir for " +
                                          *options.server));
            }
            config.serverURL = *options.server;
            configStore->save(config);
        }
    }

    session->model_ = std::make_unique<AppModel>(AppModelServices{std::move(configStore),
                                                                  std::move(inboxStore),
                                                                  std::move(preferences),
                                                                  session->transport_,
                                                                  std::move(options.notifier),
                                                                  nullptr,
                                                                  environment.calendar,
                                                                  {}},
                                                 environment.loop, environment.clock);
    return session;
}

OrvelKit::Task<bool> CliSession::settle() {
    return transport_->idle(
        environment_.loop,
        std::chrono::duration_cast<OrvelKit::Executor::Duration>(environment_.settleLimit));
}

CliSession::Problems CliSession::finish() {
    model_->flushSaves();
    std::lock_guard lock(problems_->mutex);
    return std::exchange(problems_->problems, {});
}

} // namespace Orvel::Cli
