// The terminal program's command line and its help text.
#include "cli/cli_options.h"

namespace dayledger::cli {

const char kHelpText[] =
    "Usage: dayledger-upgrade [--app-dir DIR] COMMAND ...\n"
    "\n"
    "Upgrades the data of one Dayledger user to data version 1.03, as the\n"
    "upgrade window does, from a terminal or a script.\n"
    "\n"
    "Commands:\n"
    "  list                      One line per user, in the user list's order:\n"
    "                            name, encryption (사용/사용안함) and data\n"
    "                            version (v 1.02.00), separated by tabs.\n"
    "  upgrade USER [--skip-backup] [--yes] [--password-stdin]\n"
    "                            The window's start checks, backup and stages\n"
    "                            for USER. Log lines go to standard output as\n"
    "                            \"[hh:mm:ss]text\". The password of encrypted data\n"
    "                            is asked without echo on the terminal, or read\n"
    "                            as one line from standard input with\n"
    "                            --password-stdin. --skip-backup skips the backup\n"
    "                            after asking on the terminal; without a terminal\n"
    "                            it needs --yes. On a terminal a progress line\n"
    "                            shows on standard error.\n"
    "  check USER [--password-stdin]\n"
    "                            Changes nothing: verifies the password, reads\n"
    "                            every file the upgrade would read and lists every\n"
    "                            problem found, one \"path<TAB>error\" per line.\n"
    "  verify USER [--password-stdin] [--json]\n"
    "                            Changes nothing: compares the user's upgraded\n"
    "                            data with upgrade_backup/USER. Every entry of\n"
    "                            the backup's monthly files must stand in the\n"
    "                            merged schedule file in month order, and every\n"
    "                            other data file must equal the backup's (or the\n"
    "                            template the upgrade copied) apart from its\n"
    "                            version line. Prints a summary, with --json one\n"
    "                            JSON object; entries added since are listed as\n"
    "                            added, not as a fault.\n"
    "  restore USER [--yes]      Puts upgrade_backup/USER back as the user's\n"
    "                            folder. Shows the backup's and the current data\n"
    "                            version and asks on the terminal; without a\n"
    "                            terminal it needs --yes. The current folder is\n"
    "                            kept, as upgrade_backup/USER.before-restore-<time>,\n"
    "                            and the command prints where. Refuses, changing\n"
    "                            nothing, when there is no backup or the backup\n"
    "                            has no readable profile. Crash-safe like upgrade.\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR             The installation folder (holding users/), named\n"
    "                            in any characters the system allows. The\n"
    "                            default is the folder of this program.\n"
    "  --help                    This text.\n"
    "\n"
    "Messages that the window shows in a message box go to standard error, and\n"
    "so does what recovery did when the command opened the installation.\n"
    "One program at a time upgrades a user: while another holds the user,\n"
    "upgrade and check refuse it and list shows it without details, each with\n"
    "a note on standard error.\n"
    "\n"
    "Exit status:\n"
    "  0  done, check found nothing, or verify accounted for everything\n"
    "  1  refused by a start check or because another program holds the user,\n"
    "     check found problems, or verify found something missing or\n"
    "     different (or data still below 1.03, or a wrong password)\n"
    "  2  wrong usage or unknown user\n"
    "  3  the upgrade stopped with an error or its backup failed, or the\n"
    "     restore stopped with an error; the user's folder is as before;\n"
    "     or verify could not read the backup or the current data\n";

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
  Options options;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.command = "help";
      return options;
    }
    if (arg == "--app-dir") {
      if (++i == args.size()) {
        *error = "--app-dir needs a folder";
        return std::nullopt;
      }
      options.app_dir = args[i];
    } else if (arg == "--skip-backup") {
      options.skip_backup = true;
    } else if (arg == "--yes") {
      options.yes = true;
    } else if (arg == "--password-stdin") {
      options.password_stdin = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg.rfind("--", 0) == 0) {
      *error = "unknown option " + arg;
      return std::nullopt;
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) {
    *error = "no command given";
    return std::nullopt;
  }
  options.command = words[0];
  const bool takes_user = options.command == "upgrade" || options.command == "check" ||
                          options.command == "restore" || options.command == "verify";
  if (options.command != "list" && !takes_user) {
    *error = "unknown command " + options.command;
    return std::nullopt;
  }
  if (words.size() != (takes_user ? 2u : 1u)) {
    *error = takes_user ? options.command + " needs one user name" : "list takes no user name";
    return std::nullopt;
  }
  if (takes_user) options.user = words[1];
  if (options.skip_backup && options.command != "upgrade") {
    *error = "--skip-backup belongs to upgrade";
    return std::nullopt;
  }
  if (options.yes && options.command != "upgrade" && options.command != "restore") {
    *error = "--yes belongs to upgrade and restore";
    return std::nullopt;
  }
  if (options.json && options.command != "verify") {
    *error = "--json belongs to verify";
    return std::nullopt;
  }
  if (options.password_stdin && options.command == "list") {
    *error = "--password-stdin belongs to upgrade and check";
    return std::nullopt;
  }
  return options;
}

}  // namespace dayledger::cli
