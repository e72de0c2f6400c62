#pragma once

// What the shell asks the desktop about its user's settings.

#include <QDBusConnection>

namespace Orvel::ShellEnvironment {

// Whether the user turned animations off: the desktop portal's
// "org.gnome.desktop.interface" "enable-animations" setting read as false.
// False when the portal does not answer within a quarter second.
bool reduceMotionRequested(QDBusConnection bus = QDBusConnection::sessionBus());

// Makes a process without a display usable: the offscreen platform and the
// software scene graph when no display is set, and a private runtime
// directory when there is none. Call before the application object exists.
void prepareHeadless();

} // namespace Orvel::ShellEnvironment
