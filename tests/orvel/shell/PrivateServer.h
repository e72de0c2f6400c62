#pragma once

// A private server for a test program (Xvfb, dbus-daemon): started with
// "{fd}" in its arguments replaced by a pipe it writes its address or
// display to, and ended with the tests, even when they crash.

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace OrvelTest {

struct PrivateServer {
    pid_t pid = -1;
    std::string firstLine;
};

// Starts `program` with "{fd}" in its arguments replaced by a pipe's write
// end, and reads the first line the program writes there.
inline std::optional<PrivateServer> spawnServer(const std::string& program,
                                                std::vector<std::string> arguments) {
    int fds[2];
    if (pipe(fds) != 0) {
        return std::nullopt;
    }
    for (auto& argument : arguments) {
        if (const auto at = argument.find("{fd}"); at != std::string::npos) {
            argument.replace(at, 4, std::to_string(fds[1]));
        }
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        return std::nullopt;
    }
    if (pid == 0) {
        // The server ends with the tests even when they crash, and never
        // holds the output of whoever runs them.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(1);
        }
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        close(fds[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    PrivateServer child{pid, {}};
    for (;;) {
        pollfd readable{fds[0], POLLIN, 0};
        if (poll(&readable, 1, 10000) <= 0) {
            break;
        }
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        child.firstLine += c;
    }
    close(fds[0]);
    if (child.firstLine.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    return child;
}

inline void stopServer(const std::optional<PrivateServer>& child) {
    if (child) {
        kill(child->pid, SIGTERM);
        waitpid(child->pid, nullptr, 0);
    }
}

} // namespace OrvelTest
