#include "orvel/shell/DesktopIdleTimeSource.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>

#if ORVEL_HAVE_XSS
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#endif

namespace Orvel {

DesktopIdleTimeSource::DesktopIdleTimeSource(QDBusConnection bus) : bus_(std::move(bus)) {}

std::optional<double> DesktopIdleTimeSource::secondsSinceLastInput() const {
    if (auto seconds = fromX11()) {
        return seconds;
    }
    return fromScreenSaver();
}

std::optional<double> DesktopIdleTimeSource::fromX11() const {
#if ORVEL_HAVE_XSS
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    auto* display = app ? app->display() : nullptr;
    if (!display) {
        return std::nullopt;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        return std::nullopt;
    }
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info) {
        return std::nullopt;
    }
    std::optional<double> seconds;
    if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) {
        seconds = static_cast<double>(info->idle) / 1000.0;
    }
    XFree(info);
    return seconds;
#else
    return std::nullopt;
#endif
}

std::optional<double> DesktopIdleTimeSource::fromScreenSaver() const {
    if (!bus_.isConnected()) {
        return std::nullopt;
    }
    auto call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                               QStringLiteral("/org/freedesktop/ScreenSaver"),
                                               QStringLiteral("org.freedesktop.ScreenSaver"),
                                               QStringLiteral("GetSessionIdleTime"));
    // The check runs on the GUI thread: never wait long.
    const QDBusReply<unsigned int> reply = bus_.call(call, QDBus::Block, 250);
    if (!reply.isValid()) {
        return std::nullopt;
    }
    return static_cast<double>(reply.value()) / 1000.0;
}

} // namespace Orvel
