#pragma once

// A program started from a test, its standard output and error read through
// one pipe, line by line: the executables under a signal, the crash driver
// killed without warning, orvelctl with its standard error kept apart, the
// private session bus. It ends with the test process, even one
// that crashes. Every wait has a deadline.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace OrvelTest {

class ChildProcess {
public:
    // Starts `arguments` (the program's path first) with this process's
    // environment plus `environment`, standard input from /dev/null, no
    // signal blocked or ignored, and `umask` when given. Standard error goes
    // to `errorFile` instead of the pipe when one is named.
    explicit ChildProcess(const std::vector<std::string>& arguments,
                          const std::map<std::string, std::string>& environment = {},
                          std::optional<mode_t> umask = std::nullopt,
                          const std::filesystem::path& errorFile = {}) {
        // Everything the child needs is prepared before fork(): a test
        // process has threads, so the child may only make plain system calls.
        std::vector<std::string> variables;
        for (char** entry = environ; *entry; ++entry) {
            const std::string variable(*entry);
            if (!environment.contains(variable.substr(0, variable.find('=')))) {
                variables.push_back(variable);
            }
        }
        for (const auto& [name, value] : environment) {
            variables.push_back(name + "=" + value);
        }
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& variable : variables) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);

        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe2 failed";
            return;
        }
        int errors = fds[1];
        if (!errorFile.empty()) {
            errors = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            EXPECT_GE(errors, 0) << "cannot open " << errorFile;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            if (umask) {
                ::umask(*umask);
            }
            const int input = ::open("/dev/null", O_RDONLY);
            ::dup2(input, STDIN_FILENO);
            ::dup2(fds[1], STDOUT_FILENO);
            ::dup2(errors, STDERR_FILENO);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        if (errors != fds[1] && errors >= 0) {
            ::close(errors);
        }
        fd_ = fds[0];
        EXPECT_GT(pid_, 0) << "fork failed";
    }
    ~ChildProcess() {
        if (pid_ > 0 && !status_) {
            kill();
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void signal(int number) const { ::kill(pid_, number); }

    // Collects output until `done(line)` holds for a new complete line or
    // `limit` has passed; whether it held.
    bool readUntil(const std::function<bool(const std::string&)>& done,
                   std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (std::size_t checked = 0;;) {
            for (; checked < lines_.size(); ++checked) {
                if (done(lines_[checked])) {
                    return true;
                }
            }
            if (!readSome(deadline)) {
                return false;
            }
        }
    }
    void readFor(std::chrono::milliseconds time) {
        (void)readUntil([](const std::string&) { return false; }, time);
    }

    // Reads to the end of its output and waits for it to exit; its exit
    // status, or -1 when a signal ended it. Killed, and a failure, if it is
    // still running after `limit`.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (readSome(deadline)) {
        }
        int raw = 0;
        while (::waitpid(pid_, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the child process still runs after " << limit.count() << " ms";
                return kill(), -1;
            }
            ::usleep(10'000);
        }
        status_ = raw;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    // SIGKILL, then everything it wrote before dying; the raw wait status.
    int kill() {
        int raw = 0;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &raw, 0);
        status_ = raw;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (readSome(deadline)) {
        }
        return raw;
    }

    // Complete lines only: a line cut off by a kill is not a line.
    const std::vector<std::string>& lines() const { return lines_; }
    // Everything it wrote, a cut-off line included.
    const std::string& output() const { return output_; }

private:
    // False at the end of the output or when nothing came before `deadline`.
    bool readSome(std::chrono::steady_clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd ready{fd_, POLLIN, 0};
        if (fd_ < 0 || left <= 0 || ::poll(&ready, 1, static_cast<int>(left)) <= 0) {
            return false;
        }
        char buffer[65536];
        const auto count = ::read(fd_, buffer, sizeof buffer);
        if (count <= 0) {
            return false;
        }
        output_.append(buffer, static_cast<std::size_t>(count));
        partial_.append(buffer, static_cast<std::size_t>(count));
        for (auto end = partial_.find('\n'); end != std::string::npos; end = partial_.find('\n')) {
            lines_.push_back(partial_.substr(0, end));
            partial_.erase(0, end + 1);
        }
        return true;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    std::optional<int> status_;
    std::string output_;
    std::string partial_;
    std::vector<std::string> lines_;
};

} // namespace OrvelTest
