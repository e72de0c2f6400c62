#pragma once

// The commands of orvelctl as they run against an app model: the one of
// orvelctl itself when it holds the data directory, or the desktop app's,
// which carries out orvelctl's changes while it runs. Either way the same
// code prints the same report and the same errors.

#include "orvel/cli/CommandLine.h"
#include "orvel/core/AppModel.h"
#include "orvel/core/Clock.h"
#include "orvelkit/async/Task.h"

#include <functional>
#include <ostream>

namespace Orvel::Cli {

// What a command runs against. The model must outlive the command.
struct CommandTarget {
    AppModel& model;
    const Clock& clock;
    // Waits for the requests the model started in the background (read
    // marks, dismissals); false when they took too long.
    std::function<OrvelKit::Task<bool>()> settle;
};

struct CommandOutput {
    std::ostream& out;
    std::ostream& err;
    // Colour on `out`.
    bool color = false;
};

// Runs every command but help and watch; returns the exit status. The
// invocation is taken by value: the task may outlive the caller's copy.
OrvelKit::Task<int> runCommand(Invocation invocation, CommandTarget target, CommandOutput output);

// Whether the command changes the data directory's files (status does when
// it asks the service).
bool changesState(const Invocation& invocation);

} // namespace Orvel::Cli
