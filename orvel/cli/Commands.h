#pragma once

// The commands of orvelctl. Each runs against the app model over the data
// directory's files, writes its report to the environment's `out` and its
// errors, one line each, to `err`, and returns the exit status. A command
// that changes the files takes the directory's lock; when another process
// holds it, the command is handed to that process over the session bus
// (ControlBus.h) and its report printed here.

#include "orvel/cli/CliEnvironment.h"
#include "orvel/cli/CommandLine.h"

namespace Orvel::Cli {

// Runs one invocation to its end. `watch` runs until the environment's loop
// is stopped (orvelctl stops it on SIGINT and SIGTERM).
int run(const Invocation& invocation, const CliEnvironment& environment);

// Prints the error and the usage it concerns; returns exitUsage.
int reportUsageError(const UsageError& error, std::ostream& err);

// Parses `arguments` (without the program name) and runs them; a bad command
// line prints its error and usage to `err` and gives exitUsage.
int run(const std::vector<std::string>& arguments, const CliEnvironment& environment);

} // namespace Orvel::Cli
