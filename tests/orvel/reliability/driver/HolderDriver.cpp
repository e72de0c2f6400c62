// orvel_holder_driver <directory>: the desktop app's side of one writer per
// data directory, without the tray: the app model on the files in
// <directory> (config.json must name the service and a paired device), the
// directory's lock, the control interface on the session bus and the
// shutdown signals, wired as the app wires them. It refreshes four times a
// second and prints:
//
//   ready <bus name>|-          the lock is held and orvelctl can find it
//   busy                        another process holds the directory (exit 3)
//   merged <highest seq>        the model's inbox changed
//   saved <highest seq> <dismissed count>   an inbox save reached the file
//
// Each save waits 300 ms before it writes, so a save is still queued when a
// signal arrives right after a merge.

#include "orvel/cli/InFlightTransport.h"
#include "orvel/core/AppModel.h"
#include "orvel/core/FilePreferences.h"
#include "orvel/shell/ControlService.h"
#include "orvel/shell/QtExecutor.h"
#include "orvel/shell/ShutdownSignals.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/DataDirectoryLock.h"
#include "orvelkit/store/FileInboxStore.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using namespace OrvelKit;

void printLine(const std::string& text) {
    const std::string line = text + '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::uint64_t highestSeq(const Inbox& inbox) {
    std::uint64_t highest = 0;
    for (const auto& channel : inbox.channels()) {
        for (const auto& note : channel.notifications()) {
            highest = std::max(highest, note.seq);
        }
    }
    return highest;
}

// The inbox file, slow to write.
class SlowInboxStore final : public InboxStore {
public:
    explicit SlowInboxStore(std::filesystem::path file) : file_(std::move(file)) {}
    Expected<Inbox, FileError> load() override { return file_.load(); }
    void save(const Inbox& inbox) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        file_.save(inbox);
        std::size_t dismissed = 0;
        for (const auto& channel : inbox.channels()) {
            dismissed += channel.dismissedSeqs().size();
        }
        printLine("saved " + std::to_string(highestSeq(inbox)) + " " + std::to_string(dismissed));
    }

private:
    FileInboxStore file_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: orvel_holder_driver <directory>\n", stderr);
        return 2;
    }
    QCoreApplication application(argc, argv);
    const AppSupportDirectory directory{std::filesystem::path(argv[1])};
    auto lock = DataDirectoryLock::acquire(directory.directory());
    if (!lock) {
        printLine(lock.error().busy ? "busy" : lock.error().error.description());
        return 3;
    }

    Orvel::QtExecutor executor;
    Orvel::SystemClock clock;
    auto transport =
        std::make_shared<Orvel::Cli::InFlightTransport>(std::make_shared<CurlTransport>());
    Orvel::AppModelServices services{
        std::make_shared<FileConfigStore>(directory.configFile()),
        std::make_shared<SlowInboxStore>(directory.inboxFile()),
        std::make_shared<Orvel::FilePreferences>(directory.preferencesFile()),
        transport,
        nullptr,
        nullptr,
        Calendar("UTC", "en_US"),
        {}};
    services.loadInboxInBackground = true;
    Orvel::AppModel model(std::move(services), executor, clock);

    Orvel::ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &Orvel::ShutdownSignals::received, &application, [&model] {
        model.flushSaves();
        QCoreApplication::exit(0);
    });
    Orvel::ControlService control(
        {model, executor, clock,
         [&] { return transport->idle(executor, std::chrono::seconds(10)); }, nullptr});
    const bool reachable = control.publish(*lock);
    printLine(std::string("ready ") +
              (reachable ? DataDirectoryLock::holder(directory.directory())->busName : "-"));

    const auto subscription = model.observe([&model](Orvel::ModelField field) {
        if (field == Orvel::ModelField::inbox) {
            printLine("merged " + std::to_string(highestSeq(model.inbox())));
        }
    });
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &application, [&model] { model.refreshTick(); });
    refresh.start(250);
    return QCoreApplication::exec();
}
