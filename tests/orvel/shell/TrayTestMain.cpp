// The tray tests run against a real X server and session bus of their own:
// a private Xvfb (display chosen by the server, so parallel runs cannot
// collide) and a private dbus-daemon, both ended when the tests end. Without
// Xvfb or dbus-daemon the tests skip.

#include "orvel/shell/ShellEnvironment.h"
#include "tests/orvel/shell/TrayTestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Child {
    pid_t pid = -1;
    std::string firstLine;
};

void stop(const std::optional<Child>& child) {
    if (child) {
        kill(child->pid, SIGTERM);
        waitpid(child->pid, nullptr, 0);
    }
}

// Starts `program` with "{fd}" in its arguments replaced by a pipe's write
// end, and reads the first line the program writes there (10 s at most).
std::optional<Child> spawn(const std::string& program, std::vector<std::string> arguments) {
    int fds[2];
    if (pipe(fds) != 0) {
        return std::nullopt;
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (auto& argument : arguments) {
        if (const auto at = argument.find("{fd}"); at != std::string::npos) {
            argument.replace(at, 4, std::to_string(fds[1]));
        }
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // The server ends with the tests even when they crash, and never
        // holds the output of whoever runs them.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(1);
        }
        if (const int null = open("/dev/null", O_RDWR); null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        close(fds[0]);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::optional<Child> child;
    if (pid > 0) {
        child = Child{pid, {}};
    }
    char c = 0;
    pollfd readable{fds[0], POLLIN, 0};
    while (child && poll(&readable, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') {
        child->firstLine += c;
    }
    close(fds[0]);
    if (child && child->firstLine.empty()) {
        stop(child);
        return std::nullopt;
    }
    return child;
}

} // namespace

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
    const auto display = spawn("Xvfb", {"-displayfd", "{fd}", "-screen", "0", "1280x800x24",
                                        "-nolisten", "tcp", "-noreset"});
    const auto bus =
        display
            ? spawn("dbus-daemon", {"--session", "--nofork", "--nosyslog", "--print-address={fd}"})
            : std::nullopt;
    OrvelTest::trayEnvironmentReady = display && bus;
    if (OrvelTest::trayEnvironmentReady) {
        setenv("DISPLAY", (":" + display->firstLine).c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", bus->firstLine.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("QT_QUICK_BACKEND", "software", 1);
        unsetenv("WAYLAND_DISPLAY");
        Orvel::ShellEnvironment::prepareHeadless();
    } else {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        result = RUN_ALL_TESTS();
    }
    stop(bus);
    stop(display);
    return result;
}
