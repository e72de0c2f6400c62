#include "orvel/shell/ShellEnvironment.h"

#include <QDir>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvel::ShellEnvironment {

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
