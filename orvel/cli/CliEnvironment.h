#pragma once

// What every orvelctl command runs with. The executable builds the real
// ones; tests bring their own clock, calendar, transport and streams.

#include "orvel/core/Clock.h"
#include "orvelkit/async/EventLoop.h"
#include "orvelkit/http/HTTPTransport.h"
#include "orvelkit/time/Calendar.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

namespace Orvel::Cli {

struct CliEnvironment {
    // Runs the app model and every service call; must outlive the command.
    OrvelKit::EventLoop& loop;
    const Clock& clock;
    OrvelKit::Calendar calendar;
    std::shared_ptr<OrvelKit::HTTPTransport> transport;
    // The app's own directory, used without --data-dir; absent when no home
    // directory is known.
    std::optional<std::filesystem::path> defaultDataDirectory;
    std::ostream& out;
    std::ostream& err;
    // Colour on standard output.
    bool color = false;
    // How long a command waits at its end for requests the app model started
    // in the background.
    std::chrono::milliseconds settleLimit{10'000};
};

// Exit statuses.
inline constexpr int exitSuccess = 0;
inline constexpr int exitFailure = 1;
inline constexpr int exitUsage = 2;

} // namespace Orvel::Cli
