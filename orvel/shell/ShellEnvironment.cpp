#include "orvel/shell/ShellEnvironment.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QVariant>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvel::ShellEnvironment {

bool reduceMotionRequested(QDBusConnection bus) {
    if (!bus.isConnected()) {
        return false;
    }
    auto call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                               QStringLiteral("/org/freedesktop/portal/desktop"),
                                               QStringLiteral("org.freedesktop.portal.Settings"),
                                               QStringLiteral("Read"));
    call << QStringLiteral("org.gnome.desktop.interface") << QStringLiteral("enable-animations");
    const auto reply = bus.call(call, QDBus::Block, 250);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    // The value comes wrapped in one or two variants.
    auto value = reply.arguments().front();
    for (int i = 0; i < 2 && value.canConvert<QDBusVariant>(); ++i) {
        value = value.value<QDBusVariant>().variant();
    }
    return value.typeId() == QMetaType::Bool && !value.toBool();
}

void prepareHeadless() {
    const auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr || *value == '\0';
    };
    if (unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (unset("QT_QUICK_BACKEND") && !unset("QT_QPA_PLATFORM") &&
        std::string(std::getenv("QT_QPA_PLATFORM")) == "offscreen") {
        setenv("QT_QUICK_BACKEND", "software", 1);
    }
    if (unset("XDG_RUNTIME_DIR")) {
        auto directory = QDir::temp().filePath(QStringLiteral("orvel-runtime-%1").arg(getuid()));
        const auto path = directory.toStdString();
        mkdir(path.c_str(), 0700);
        chmod(path.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
}

} // namespace Orvel::ShellEnvironment
