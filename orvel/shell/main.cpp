// The desktop app: a tray item with the inbox panel; no window of its own.
//
// It is the one writer of its data directory while it runs: it holds the
// directory's lock, carries out orvelctl's changes over the session bus, and
// a second start only asks it to show its panel. SIGTERM, SIGINT and SIGHUP
// end it normally, with everything written.

#include "orvel/core/AppIdentity.h"
#include "orvel/shell/AppDelegate.h"
#include "orvel/shell/ControlService.h"
#include "orvel/shell/QtExecutor.h"
#include "orvel/shell/ShutdownSignals.h"
#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/DataDirectoryLock.h"
#include "orvelkit/support/AllocatorPolicy.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    // Before any thread starts: large sync answers and inbox saves keep
    // their memory instead of faulting it in again each time.
    OrvelKit::applyAllocatorPolicy();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvel"));
    QApplication::setDesktopFileName(QString::fromLatin1(Orvel::AppIdentity::id));
    // The app lives in the tray: closing the panel does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    auto directory = OrvelKit::AppSupportDirectory::locate();
    if (directory && !directory->prepare()) {
        directory.reset();
    }
    std::optional<OrvelKit::DataDirectoryLock> lock;
    if (directory) {
        auto acquired = OrvelKit::DataDirectoryLock::acquire(directory->directory());
        if (!acquired && acquired.error().busy) {
            QString reason;
            if (Orvel::ControlService::askToShowPanel(directory->directory(), reason)) {
                return 0;
            }
            std::fprintf(stderr,
                         "orvel: %s is in use by another process that can't be reached: %s\n",
                         directory->directory().c_str(), qPrintable(reason));
            return 1;
        }
        if (!acquired) {
            std::fprintf(stderr, "orvel: %s\n", acquired.error().error.description().c_str());
            return 1;
        }
        lock.emplace(std::move(*acquired));
    }

    Orvel::QtExecutor executor;
    Orvel::AppDelegate delegate(executor, directory);
    Orvel::ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &Orvel::ShutdownSignals::received, &application,
                     [&delegate] {
                         delegate.flushSaves();
                         QApplication::exit(0);
                     });
    Orvel::ControlService control({delegate.model(), executor, delegate.clock(),
                                   [&delegate] { return delegate.settle(); },
                                   [&delegate] { delegate.showPanel(); }});
    if (lock) {
        // Without a session bus orvelctl says it can't reach the app.
        (void)control.publish(*lock);
    }
    QTimer::singleShot(0, &application, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return QApplication::exec();
}
