// The terminal program's commands, and the one table from how a command
// ended to the program's exit status.
#pragma once

#include <string>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "upgrade/installation.h"

namespace dayledger::cli {

// How a command ended. Every command ends in one of these, and ExitStatus
// is the one place that turns it into the program's exit status.
enum class Ended { kDone, kRefused, kMisused, kStopped };

int ExitStatus(Ended ended);

// Runs the command the options name (not help) on the installation: its
// checks, in its order, then its own work.
Ended RunCommand(Installation& installation, Console& console, const Options& options);

}  // namespace dayledger::cli
