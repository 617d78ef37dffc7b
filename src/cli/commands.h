// The terminal program's commands, each ending in the program's exit status.
#pragma once

#include <string>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "floor/installation.h"
#include "floor/reply.h"

namespace dayledger::cli {

// Tells what opening the installation finished or undid, then runs the
// command the options name (not help) on it: its checks, in its order, then
// its own work; the exit status (kExitDone, ...).
int RunCommand(OpenedInstallation& opened, Console& console, const Options& options);

}  // namespace dayledger::cli
