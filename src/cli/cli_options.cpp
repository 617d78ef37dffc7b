// The terminal program's command line, read through one table of its
// commands and options that also makes the help.
#include "cli/cli_options.h"

#include <utility>

#include "state/version_code.h"

namespace dayledger::cli {

namespace {

// The options a command takes, as bits.
enum OptionBit : unsigned {
  kSkipBackup = 1,
  kYes = 2,
  kPasswordStdin = 4,
  kJson = 8,
  kAll = 16,
};

// A command, the options it takes, and what the help says of it: its
// lines, which "@" stands in for the data version the upgrade leads to.
struct CommandRule {
  const char* name;
  Command command;
  bool takes_user;
  unsigned options;
  const char* about;
};

constexpr CommandRule kCommands[] = {
    {"list", Command::kList, false, kJson,
     "One line per user, in the user list's order:\n"
     "name, encryption (사용/사용안함) and data\n"
     "version (v 1.02.00), separated by tabs.\n"},
    {"upgrade", Command::kUpgrade, true, kSkipBackup | kYes | kPasswordStdin | kJson | kAll,
     "The window's start checks, backup and stages\n"
     "for USER. Log lines go to standard output as\n"
     "\"[hh:mm:ss]text\". The password of encrypted data\n"
     "is asked without echo on the terminal, or read\n"
     "as one line from standard input with\n"
     "--password-stdin (UTF-8, after a byte-order mark\n"
     "or not, or else CP949). --skip-backup skips the backup\n"
     "after asking on the terminal; without a terminal\n"
     "it needs --yes. An installation on a network\n"
     "drive asks whether the scheduler is closed on\n"
     "every PC that uses it; without a terminal it is\n"
     "refused unless --yes says so. On a terminal a\n"
     "progress line shows on standard error.\n"},
    {"check", Command::kCheck, true, kPasswordStdin | kJson | kAll,
     "Changes nothing: verifies the password, reads\n"
     "every file the upgrade would read and lists every\n"
     "problem found, one \"path<TAB>error\" per line.\n"},
    {"verify", Command::kVerify, true, kPasswordStdin | kJson | kAll,
     "Changes nothing: compares the user's upgraded\n"
     "data with upgrade_backup/USER. Every entry of\n"
     "the backup's monthly files must stand in the\n"
     "merged schedule file in month order, and every\n"
     "other data file must equal the backup's (or the\n"
     "template the upgrade copied) apart from its\n"
     "version line. Prints a summary; entries added\n"
     "since are listed as added, not as a fault.\n"},
    {"restore", Command::kRestore, true, kYes | kJson,
     "Puts upgrade_backup/USER back as the user's\n"
     "folder. Shows the backup's and the current data\n"
     "version and asks on the terminal; without a\n"
     "terminal it needs --yes, which also answers the\n"
     "question about the other PCs of a network drive.\n"
     "The current folder is kept, as upgrade_backup/\n"
     ".dlu/kept/USER/before-restore-<time>,\n"
     "and the command prints where. Refuses, changing\n"
     "nothing, when there is no backup or the backup\n"
     "has no readable profile. Crash-safe like upgrade.\n"},
};

// An option that sets a flag, and what the help's list of options says of
// it (nothing for one a command's own lines explain).
struct OptionRule {
  const char* name;
  OptionBit bit;
  bool Options::*flag;
  const char* about;
};

constexpr OptionRule kOptions[] = {
    {"--skip-backup", kSkipBackup, &Options::skip_backup, nullptr},
    {"--yes", kYes, &Options::yes, nullptr},
    {"--password-stdin", kPasswordStdin, &Options::password_stdin, nullptr},
    {"--all", kAll, &Options::all,
     "Every user of the installation, in the user\n"
     "list's order, each as the command for that user\n"
     "would go; the installation's questions come\n"
     "once. With --password-stdin, standard input\n"
     "gives a line per encrypted user: the name, a\n"
     "tab, the password (UTF-8); a user without one\n"
     "is refused and left as it is.\n"},
    {"--json", kJson, &Options::json,
     "Standard output holds one JSON document and\n"
     "nothing else: each user's outcome, reason,\n"
     "words, error and record (docs/json.md).\n"},
};

// The options read on their own, as the help lists them after the others.
constexpr std::pair<const char*, const char*> kProgramOptions[] = {
    {"--app-dir DIR",
     "The installation folder (holding users/), named\n"
     "in any characters the system allows. The\n"
     "default is the folder of this program.\n"},
    {"--help", "This text.\n"},
    {"--version",
     "The tool's version and the data version it\n"
     "upgrades to.\n"},
};

constexpr char kHelpHead[] =
    "Usage: dayledger-upgrade [--app-dir DIR] COMMAND ...\n"
    "\n"
    "Upgrades the data of Dayledger users to data version @, as the\n"
    "upgrade window does, from a terminal or a script.\n"
    "\n";

constexpr char kHelpTail[] =
    "\n"
    "Messages that the window shows in a message box go to standard error, and\n"
    "so does what recovery did when the command opened the installation.\n"
    "Each upgrade and restore past its start checks keeps a record of its run\n"
    "in upgrade_backup/.dlu/logs/USER (the 20 newest), which a stopped run names.\n"
    "One program at a time upgrades a user: while another holds the user,\n"
    "upgrade and check refuse it and list shows it without details, each with\n"
    "a note on standard error.\n"
    "\n"
    "Exit status:\n"
    "  0  done, check found nothing, or verify accounted for everything\n"
    "  1  refused by a start check or because another program holds the user,\n"
    "     check found problems, or verify found something missing or\n"
    "     different (or data still below @, or a wrong password)\n"
    "  2  wrong usage or unknown user\n"
    "  3  the upgrade stopped with an error or its backup failed, or the\n"
    "     restore stopped with an error; the user's folder is as before;\n"
    "     or verify could not read the backup or the current data; or\n"
    "     what an interrupted change left could not be finished now (a file\n"
    "     of it held by another program, or lost), and nothing of it was changed\n"
    "With --all: 0 when every user is done or was at @ already, 3 when any\n"
    "user's run stopped, 1 otherwise.\n";

// One entry of the help's lists: what it is called, and its lines beside
// it from the 29th column, the first on the same line where the name
// leaves room.
std::string HelpEntry(const std::string& name, const std::string& about) {
  constexpr size_t kColumn = 28;
  const std::string margin(kColumn, ' ');
  std::string text = "  " + name;
  text += text.size() + 1 < kColumn ? std::string(kColumn - text.size(), ' ') : "\n" + margin;
  for (size_t at = 0, end; at < about.size(); at = end + 1) {
    end = about.find('\n', at);
    text += (at == 0 ? "" : margin) + about.substr(at, end - at + 1);
  }
  return text;
}

// "upgrade USER|--all [--skip-backup] [--yes] [--password-stdin] [--json]".
std::string Usage(const CommandRule& rule) {
  std::string usage = rule.name;
  if (rule.takes_user) usage += (rule.options & kAll) ? " USER|--all" : " USER";
  for (const OptionRule& option : kOptions) {
    if (option.bit != kAll && (rule.options & option.bit))
      usage += " [" + std::string(option.name) + "]";
  }
  return usage;
}

}  // namespace

std::string HelpText(const VersionChain& chain) {
  std::string text = std::string(kHelpHead) + "Commands:\n";
  for (const CommandRule& rule : kCommands) text += HelpEntry(Usage(rule), rule.about);
  text += "\nOptions:\n";
  for (const OptionRule& option : kOptions) {
    if (option.about != nullptr) text += HelpEntry(option.name, option.about);
  }
  for (const auto& [name, about] : kProgramOptions) text += HelpEntry(name, about);
  text += kHelpTail;
  const std::string version = ShortVersion(chain.target());
  for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, version);
  return text;
}

namespace {

// "upgrade", "upgrade and restore", "upgrade, check and verify".
std::string CommandsTaking(OptionBit bit) {
  std::vector<std::string> names;
  for (const CommandRule& rule : kCommands) {
    if (rule.options & bit) names.emplace_back(rule.name);
  }
  std::string listed;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) listed += i + 1 == names.size() ? " and " : ", ";
    listed += names[i];
  }
  return listed;
}

}  // namespace

Result<Options> ParseOptions(const std::vector<std::string>& args) {
  Options options;
  auto misused = [](std::string error) {
    Status misunderstood = Status::Failed(StatusKind::kOther, Path());
    misunderstood.detail = std::move(error);
    return Result<Options>(misunderstood);
  };
  std::vector<std::string> words;
  unsigned given = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.command = Command::kHelp;
      return options;
    }
    if (arg == "--version") {
      options.command = Command::kVersion;
      return options;
    }
    if (arg == "--app-dir") {
      if (++i == args.size()) return misused("--app-dir needs a folder");
      options.app_dir = args[i];
      continue;
    }
    const OptionRule* option = nullptr;
    for (const OptionRule& rule : kOptions) {
      if (arg == rule.name) option = &rule;
    }
    if (option) {
      options.*(option->flag) = true;
      given |= option->bit;
    } else if (arg.rfind("--", 0) == 0) {
      return misused("unknown option " + arg);
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) return misused("no command given");
  const CommandRule* command = nullptr;
  for (const CommandRule& rule : kCommands) {
    if (words[0] == rule.name) command = &rule;
  }
  if (!command) return misused("unknown command " + words[0]);
  options.command = command->command;
  if (options.all && !(command->options & kAll)) {
    return misused(std::string("--all belongs to ") + CommandsTaking(kAll));
  }
  // --all names every user: no name beside it.
  const bool all = options.all;
  const bool takes_user = command->takes_user && !all;
  if (words.size() != (takes_user ? 2u : 1u)) {
    if (all) return misused("--all takes no user name");
    return misused(takes_user ? words[0] + " needs one user name"
                              : words[0] + " takes no user name");
  }
  if (takes_user) options.user = words[1];
  for (const OptionRule& rule : kOptions) {
    if ((given & rule.bit) && !(command->options & rule.bit)) {
      return misused(std::string(rule.name) + " belongs to " + CommandsTaking(rule.bit));
    }
  }
  return options;
}

}  // namespace dayledger::cli
