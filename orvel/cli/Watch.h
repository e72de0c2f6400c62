#pragma once

// orvelctl watch: the app model's sync loop on the event loop, printing each
// update as it is delivered.
//
// Without --all a line is printed for each notification the desktop would
// show: the model's notifier applies its rules (new, due, and with "Only
// interrupt for what matters" on, needing you) and hands the request to a
// backend that prints instead of showing. With --all every update that
// arrives is printed, deferred ones with the time they surface, and every
// card whose value changed.

#include "orvel/cli/CliEnvironment.h"
#include "orvel/cli/CommandLine.h"

namespace Orvel::Cli {

// Returns when the environment's loop is stopped; saves are flushed first.
int watch(const Invocation& invocation, const CliEnvironment& environment);

} // namespace Orvel::Cli
