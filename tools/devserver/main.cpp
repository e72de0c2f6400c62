// orvel-server: the Orvel service, its state in a SQLite database.
// Built a second time as orvel-devserver (ORVEL_DEVELOPMENT_MODE): the same
// service with the state in memory by default and faults to inject.

#include "tools/devserver/DevServer.h"
#include "tools/devserver/ListenAddress.h"
#include "tools/devserver/Usage.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

#ifdef ORVEL_DEVELOPMENT_MODE
constexpr bool developmentMode = true;
constexpr const char* programName = "orvel-devserver";
#else
constexpr bool developmentMode = false;
constexpr const char* programName = "orvel-server";
#endif

int usageError(const std::string& message) {
    std::cerr << programName << ": " << message << "\n(see " << programName << " --help)\n";
    return 2;
}

std::optional<std::uint64_t> parseCount(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

int main(int argc, char** argv) {
    OrvelDev::DevServerOptions options;
    options.port = 8787;
    options.log = &std::cerr;
    OrvelDev::ServiceLimits& limits = options.limits;
    std::vector<std::pair<std::string, OrvelDev::Fault>> faults;
    bool importing = false;

    std::uint64_t maxRequestBytes = limits.maxRequestBytes, maxTitle = limits.maxTitleChars,
                  maxText = limits.maxTextChars, maxLabel = limits.maxLabelChars,
                  publishRate = limits.publishesPerMinute, publishBurst = limits.publishBurst,
                  maxChannels = limits.maxChannelsPerAccount;
    const std::map<std::string_view, std::uint64_t*> numbers = {
        {"--max-request-bytes", &maxRequestBytes},
        {"--max-title", &maxTitle},
        {"--max-text", &maxText},
        {"--max-label", &maxLabel},
        {"--publish-rate", &publishRate},
        {"--publish-burst", &publishBurst},
        {"--max-channels", &maxChannels},
    };
    const std::vector<std::string_view> withValue = {"--listen", "--host", "--port", "--data-dir",
                                                     "--import-state"};
    const std::vector<std::string_view> developmentOnly = {"--state", "--fault"};

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << (developmentMode ? OrvelDev::devServerUsage : OrvelDev::serverUsage);
            return 0;
        }
        if (arg == "--allow-remote") {
            options.allowRemote = true;
            continue;
        }
        if (arg == "--sync-every-write") {
            options.syncEveryWrite = true;
            continue;
        }
        const bool known =
            numbers.contains(arg) ||
            std::find(withValue.begin(), withValue.end(), arg) != withValue.end() ||
            (developmentMode && std::find(developmentOnly.begin(), developmentOnly.end(), arg) !=
                                    developmentOnly.end());
        if (!known) {
            return usageError("unknown option " + std::string(arg));
        }
        if (i + 1 >= argc) {
            return usageError(std::string(arg) + " needs a value");
        }
        const std::string value = argv[++i];
        if (const auto number = numbers.find(arg); number != numbers.end()) {
            const auto parsed = parseCount(value);
            if (!parsed || *parsed > UINT32_MAX) {
                return usageError(std::string(arg) + " needs a whole number");
            }
            *number->second = *parsed;
        } else if (arg == "--listen") {
            auto address = OrvelDev::parseListenAddress(value);
            if (!address) {
                return usageError("--listen: " + address.error());
            }
            options.host = address->host;
            options.port = address->port.value_or(options.port);
        } else if (arg == "--host") {
            options.host = value;
        } else if (arg == "--port") {
            const auto port = OrvelDev::parsePort(value);
            if (!port) {
                return usageError("--port needs a number from 0 to 65535");
            }
            options.port = *port;
        } else if (arg == "--data-dir") {
            options.dataDir = value;
        } else if (arg == "--import-state" || arg == "--state") {
            // A missing --state file is a fresh start; a missing import is a mistake.
            importing = arg == "--import-state";
            options.stateFile = value;
        } else {
            auto fault = OrvelDev::parseFaultRule(value);
            if (!fault) {
                return usageError("--fault: " + fault.error());
            }
            faults.push_back(std::move(*fault));
        }
    }
    limits.maxRequestBytes = maxRequestBytes;
    limits.maxTitleChars = maxTitle;
    limits.maxTextChars = maxText;
    limits.maxLabelChars = maxLabel;
    limits.publishesPerMinute = static_cast<std::uint32_t>(publishRate);
    limits.publishBurst = static_cast<std::uint32_t>(publishBurst);
    limits.maxChannelsPerAccount = maxChannels;

    if (!developmentMode && !options.dataDir) {
        return usageError("--data-dir DIR is needed: the service keeps its state there "
                          "(orvel-devserver keeps it in memory, for development)");
    }
    std::error_code ignored;
    if (importing && !std::filesystem::exists(*options.stateFile, ignored)) {
        return usageError("--import-state: there is no " + options.stateFile->string());
    }
    if (developmentMode && options.stateFile && !options.dataDir) {
        std::cerr << programName << ": starting from " << options.stateFile->string()
                  << "; changes are kept in memory only (add --data-dir DIR to keep them)\n";
    }

    // Block the stop signals before any thread starts, then wait for one.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    OrvelDev::DevServer server(options);
    for (auto& [endpoint, fault] : faults) {
        std::cerr << programName << ": fault " << OrvelDev::describeFault(fault) << " on "
                  << endpoint << '\n';
        server.faults().set(std::move(endpoint), fault);
    }
    auto port = server.start();
    if (!port) {
        std::cerr << programName << ": " << port.error() << '\n';
        return 1;
    }
    std::cerr << programName << ": listening on " << server.baseURL() << '\n';

    int received = 0;
    sigwait(&signals, &received);
    std::cerr << programName << ": stopping\n";
    server.stop();
    std::cerr << programName << ": stopped\n";
    return 0;
}
