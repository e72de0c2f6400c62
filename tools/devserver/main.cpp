// orvel-devserver: a loopback Orvel service for development and tests.

#include "tools/devserver/DevServer.h"
#include "tools/devserver/Usage.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

int usageError(const std::string& message) {
    std::cerr << "orvel-devserver: " << message << "\n(see orvel-devserver --help)\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    OrvelDev::DevServerOptions options;
    options.port = 8787;
    options.log = &std::cerr;
    std::vector<std::pair<std::string, OrvelDev::Fault>> faults;

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << OrvelDev::devServerUsage;
            return 0;
        }
        if (arg != "--host" && arg != "--port" && arg != "--state" && arg != "--fault") {
            return usageError("unknown option " + std::string(arg));
        }
        if (i + 1 >= argc) {
            return usageError(std::string(arg) + " needs a value");
        }
        const std::string value = argv[++i];
        if (arg == "--host") {
            options.host = value;
        } else if (arg == "--fault") {
            auto fault = OrvelDev::parseFaultRule(value);
            if (!fault) {
                return usageError("--fault: " + fault.error());
            }
            faults.push_back(std::move(*fault));
        } else if (arg == "--state") {
            options.stateFile = value;
        } else {
            char* end = nullptr;
            const long port = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || port < 0 || port > 65535) {
                return usageError("--port needs a number from 0 to 65535");
            }
            options.port = static_cast<int>(port);
        }
    }

    // Block the stop signals before any thread starts, then wait for one.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    OrvelDev::DevServer server(options);
    for (auto& [endpoint, fault] : faults) {
        std::cerr << "orvel-devserver: fault " << OrvelDev::describeFault(fault) << " on "
                  << endpoint << '\n';
        server.faults().set(std::move(endpoint), fault);
    }
    auto port = server.start();
    if (!port) {
        std::cerr << "orvel-devserver: " << port.error() << '\n';
        return 1;
    }
    std::cerr << "orvel-devserver: listening on " << server.baseURL() << '\n';

    int received = 0;
    sigwait(&signals, &received);
    std::cerr << "orvel-devserver: stopping\n";
    server.stop();
    return 0;
}
