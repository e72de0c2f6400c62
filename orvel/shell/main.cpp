// The desktop app: a tray item with the inbox panel; no window of its own.

#include "orvel/core/AppIdentity.h"
#include "orvel/shell/AppDelegate.h"
#include "orvel/shell/QtExecutor.h"
#include "orvelkit/support/AllocatorPolicy.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    // Before any thread starts: large sync answers and inbox saves keep
    // their memory instead of faulting it in again each time.
    OrvelKit::applyAllocatorPolicy();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvel"));
    QApplication::setDesktopFileName(QString::fromLatin1(Orvel::AppIdentity::id));
    // The app lives in the tray: closing the panel does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    Orvel::QtExecutor executor;
    Orvel::AppDelegate delegate(executor);
    QTimer::singleShot(0, &application, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return QApplication::exec();
}
