#pragma once

// The crash driver (driver/CrashDriver.cpp) as a child process whose output
// the test reads line by line, and which it kills without warning.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace OrvelTest {

class DriverProcess {
public:
    // Starts `program directory` with `mask` as its umask; standard output
    // and error both come to this object.
    DriverProcess(const std::string& program, const std::filesystem::path& directory, mode_t mask) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe2 failed";
            return;
        }
        const std::string dir = directory.string();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::umask(mask);
            ::dup2(fds[1], STDOUT_FILENO);
            ::dup2(fds[1], STDERR_FILENO);
            ::execl(program.c_str(), program.c_str(), dir.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        fd_ = fds[0];
        EXPECT_GT(pid_, 0) << "fork failed";
    }
    ~DriverProcess() {
        if (pid_ > 0) {
            kill();
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    DriverProcess(const DriverProcess&) = delete;
    DriverProcess& operator=(const DriverProcess&) = delete;

    // Collects output until `done(line)` holds for a new complete line or
    // `limit` has passed; whether it held.
    bool readUntil(const std::function<bool(const std::string&)>& done,
                   std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::size_t checked = lines_.size();
        while (true) {
            for (; checked < lines_.size(); ++checked) {
                if (done(lines_[checked])) {
                    return true;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !readSome(static_cast<int>(left.count()))) {
                return false;
            }
        }
    }
    void readFor(std::chrono::milliseconds time) {
        (void)readUntil([](const std::string&) { return false; }, time);
    }

    // SIGKILL (or `signal`), then everything it wrote before it ended.
    // Returns the wait status.
    int kill(int signal = SIGKILL) {
        int status = 0;
        ::kill(pid_, signal);
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        while (readSome(1000)) {
        }
        return status;
    }

    // Complete lines only: a line cut off by the kill is not a line.
    const std::vector<std::string>& lines() const { return lines_; }
    // Everything it wrote, cut-off line included.
    const std::string& output() const { return output_; }

private:
    // False at the end of the output or when nothing came within `timeoutMs`.
    bool readSome(int timeoutMs) {
        pollfd wait{fd_, POLLIN, 0};
        if (::poll(&wait, 1, timeoutMs) <= 0) {
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
    std::string output_;
    std::string partial_;
    std::vector<std::string> lines_;
};

} // namespace OrvelTest
