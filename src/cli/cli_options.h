// Command line of dayledger-upgrade.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dayledger::cli {

enum class Command { kHelp, kVersion, kList, kUpgrade, kCheck, kVerify, kRestore };

struct Options {
  std::string app_dir;  // native; empty: the program's own folder
  Command command = Command::kHelp;
  std::string user;  // UTF-8
  bool skip_backup = false;
  bool yes = false;
  bool password_stdin = false;
  bool json = false;
};

// nullopt with `error` set when the words are off.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

extern const char kHelpText[];

}  // namespace dayledger::cli
