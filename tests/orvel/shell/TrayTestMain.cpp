// The tray tests run against a real X server and session bus of their own:
// a private Xvfb (display chosen by the server, so parallel runs cannot
// collide) and a private dbus-daemon, both ended when the tests end. Without
// Xvfb or dbus-daemon the tests skip.

#include "orvel/shell/ShellEnvironment.h"
#include "tests/orvel/shell/TrayTestEnvironment.h"
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <optional>

bool OrvelTest::trayEnvironmentReady = false;

// Under the leak checker: the desktop libraries keep caches for the life of
// the process (fonts, D-Bus, Qt's own registries); only our leaks count.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus-1\nleak:libQt6\nleak:libglib-2.0\n"
           "leak:libX11\nleak:libxcb\n";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // Each server writes its display or address as its first line.
    using OrvelTest::ChildProcess;
    const auto firstLine = [](ChildProcess& server) {
        return server.readUntil([](const std::string&) { return true; }, std::chrono::seconds(10))
                   ? server.lines().front()
                   : std::string();
    };
    ChildProcess display({"/usr/bin/env", "Xvfb", "-displayfd", "1", "-screen", "0", "1280x800x24",
                          "-nolisten", "tcp", "-noreset"},
                         {}, std::nullopt, "/dev/null");
    ChildProcess bus(
        {"/usr/bin/env", "dbus-daemon", "--session", "--nofork", "--nosyslog", "--print-address=1"},
        {}, std::nullopt, "/dev/null");
    const auto displayNumber = firstLine(display);
    const auto busAddress = firstLine(bus);
    if (!displayNumber.empty() && !busAddress.empty()) {
        setenv("DISPLAY", (":" + displayNumber).c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("QT_QUICK_BACKEND", "software", 1);
        unsetenv("WAYLAND_DISPLAY");
        Orvel::ShellEnvironment::prepareHeadless();
        OrvelTest::trayEnvironmentReady = true;
    }
    int result = 0;
    {
        std::optional<QApplication> application;
        if (OrvelTest::trayEnvironmentReady) {
            application.emplace(argc, argv);
            QApplication::setQuitOnLastWindowClosed(false);
        } else {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            application.emplace(argc, argv);
        }
        result = RUN_ALL_TESTS();
    }
    if (display.started()) {
        display.signal(SIGTERM);
        display.wait();
    }
    return result;
}
