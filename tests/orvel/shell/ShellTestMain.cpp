// One QApplication for the shell's tests, headless: the offscreen platform and
// the software scene graph unless the environment names others.

#include "orvel/shell/ShellEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Under the leak checker: the desktop libraries keep caches for the life of
// the process (fonts, D-Bus, Qt's own registries); only our leaks count.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus-1\nleak:libQt6\nleak:libglib-2.0\n"
           "leak:libX11\nleak:libxcb\n";
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_QUICK_BACKEND", "software", 0);
    Orvel::ShellEnvironment::prepareHeadless();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
