// Command line of dayledger-upgrade.
#pragma once

#include <string>
#include <vector>

#include "floor/version_steps.h"
#include "platform/status.h"

namespace dayledger::cli {

enum class Command { kHelp, kVersion, kList, kUpgrade, kCheck, kVerify, kRestore };

struct Options {
  std::string app_dir;  // native; empty: the program's own folder
  Command command = Command::kHelp;
  std::string user;  // UTF-8; empty with --all
  bool all = false;  // every user of the installation, in the list's order
  bool skip_backup = false;
  bool yes = false;
  bool password_stdin = false;
  bool json = false;
};

// The options a command line gives, or why it cannot be understood (kOther,
// the words in `detail`).
Result<Options> ParseOptions(const std::vector<std::string>& args);

// The help, naming the data version `chain` leads to.
std::string HelpText(const VersionChain& chain = VersionChain::Standard());

}  // namespace dayledger::cli
