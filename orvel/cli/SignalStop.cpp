#include "orvel/cli/SignalStop.h"

#include <pthread.h>
#include <unistd.h>

namespace Orvel::Cli {

SignalStop::SignalStop(OrvelKit::EventLoop& loop) {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    waiter_ = std::thread([this, &loop] { wait(loop); });
}

SignalStop::~SignalStop() {
    finishing_ = true;
    pthread_kill(waiter_.native_handle(), SIGTERM);
    waiter_.join();
}

void SignalStop::wait(OrvelKit::EventLoop& loop) {
    for (;;) {
        int signal = 0;
        if (sigwait(&signals_, &signal) != 0 || finishing_) {
            return;
        }
        if (received_.exchange(true)) {
            // Asked twice: the user does not want to wait for the loop.
            _exit(128 + signal);
        }
        loop.stop();
    }
}

} // namespace Orvel::Cli
