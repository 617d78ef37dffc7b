// The terminal program's commands, each ending in the program's exit status.
#pragma once

#include <string>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "floor/installation.h"
#include "floor/reply.h"

namespace dayledger::cli {

// Runs the command the options name (not help) on the installation: its
// checks, in its order, then its own work; the exit status (kExitDone, ...).
int RunCommand(Installation& installation, Console& console, const Options& options);

}  // namespace dayledger::cli
