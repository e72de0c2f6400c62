// orvelctl: the Orvel inbox from a terminal.

#include "orvel/cli/Commands.h"
#include "orvel/cli/SignalStop.h"
#include "orvel/core/Clock.h"
#include "orvelkit/async/EventLoop.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/support/AllocatorPolicy.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace Orvel::Cli;
    OrvelKit::applyAllocatorPolicy(); // before the transport starts its thread
    const auto invocation = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!invocation) {
        return reportUsageError(invocation.error(), std::cerr);
    }

    OrvelKit::EventLoop loop;
    // Before the transport starts its thread, which must not take the signals.
    std::optional<SignalStop> signalStop;
    if (invocation->command == Command::watch && !invocation->help) {
        signalStop.emplace(loop);
    }
    auto transport = std::make_shared<OrvelKit::CurlTransport>();
    const Orvel::SystemClock clock;
    const auto directory = OrvelKit::AppSupportDirectory::locate();

    const CliEnvironment environment{
        .loop = loop,
        .clock = clock,
        .calendar = OrvelKit::Calendar::current(),
        .transport = transport,
        .defaultDataDirectory = directory ? std::optional(directory->directory()) : std::nullopt,
        .out = std::cout,
        .err = std::cerr,
        .color = isatty(STDOUT_FILENO) == 1 && std::getenv("NO_COLOR") == nullptr,
    };
    return run(*invocation, environment);
}
