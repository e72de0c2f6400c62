#include "orvel/shell/ShutdownSignals.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace Orvel {

namespace {

constexpr std::array handled{SIGTERM, SIGINT, SIGHUP};

int pipeFds[2] = {-1, -1};
std::atomic<bool> shuttingDown{false};
struct sigaction previous[std::size(handled)];

extern "C" void onShutdownSignal(int number) {
    if (shuttingDown.exchange(true)) {
        ::_exit(128 + number);
    }
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto written = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < handled.size(); ++i) {
        ::sigaction(handled[i], &action, &previous[i]);
    }
}

ShutdownSignals::~ShutdownSignals() {
    if (!notifier_) {
        return;
    }
    for (std::size_t i = 0; i < handled.size(); ++i) {
        ::sigaction(handled[i], &previous[i], nullptr);
    }
    notifier_.reset();
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void ShutdownSignals::drain() {
    unsigned char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1) {
        emit received(byte);
    }
}

} // namespace Orvel
