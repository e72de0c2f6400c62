#pragma once

// orvelctl's side of the control interface (ControlBus.h): hands a command
// that changes the files to the process holding the data directory and
// brings back what it printed. Uses sd-bus, so orvelctl needs no Qt.

#include "orvel/cli/CommandLine.h"
#include "orvelkit/support/Expected.h"

#include <string>
#include <string_view>

namespace Orvel::Cli {

struct RemoteOutcome {
    int status = 1;
    std::string out;
    std::string err;
};

// Fails with the reason when there is no session bus or the holder does not
// answer. `invocation` must be one that changesState().
OrvelKit::Expected<RemoteOutcome, std::string>
runRemotely(std::string_view busName, const Invocation& invocation, bool color);

} // namespace Orvel::Cli
