// The terminal program's commands: the checks each makes before its own
// work, in its own order, the work, and how it ended.
#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "check/preflight.h"
#include "cli/verify_output.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "restore/restore.h"
#include "state/version_code.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"
#include "verify/verify.h"

namespace dayledger::cli {

namespace {

// A folder in the form the system's own programs show it.
std::string ShownFolder(Platform& platform, const Path& path) {
  const std::string shown = platform.Shown(path);
#ifdef _WIN32
  return shown;
#else
  return NativePathFromTool(Path(shown));
#endif
}

// What the core tells, on the console, its places as `platform` shows them.
class ConsoleNotices : public Notices {
 public:
  ConsoleNotices(Platform& platform, Console& console) : platform_(platform), console_(console) {}
  bool Show(const Said& said) override { return console_.Show(Worded(platform_, said)); }

 private:
  Platform& platform_;
  Console& console_;
};

// Prints the progress log as it is written; on a terminal, also the
// progress bar of the long steps.
class PrintedLog : public UpgradePort {
 public:
  void AppendLogLine(const std::string& line) override;
  void ShowProgress(const std::string& what, int done, int total) override;

 private:
  bool bar_ = Console::StderrIsTerminal();
};

void PrintedLog::AppendLogLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Shows "일정 데이터 [######--------------] 120/600 (20%)" on one terminal
// line while the stages run, in the log's language.
void PrintedLog::ShowProgress(const std::string& what, int done, int total) {
  if (!bar_) return;
  constexpr int kWidth = 20;
  const int filled = total > 0 ? done * kWidth / total : kWidth;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '-');
  std::fprintf(stderr, "\r\033[K%s [%s] %d/%d (%d%%)", what.c_str(), bar.c_str(), done, total,
               total > 0 ? done * 100 / total : 100);
  if (done == total) std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
}

// What a command works with: the installation, the console and the options,
// the tool that reads the user list as the window does, and what the
// command's checks found. Only the stages write the tool's log.
struct Session {
  Session(Installation& i, Console& c, const Options& o)
      : installation(i),
        platform(i.platform()),
        notices(i.platform(), c),
        options(o),
        tool(i, log) {}

  // Shows what the reply tells; the exit status of how the verb ended.
  int Shown(const Reply& reply) {
    for (const Said& said : reply.said) notices.Show(said);
    return ExitStatusOf(reply.outcome);
  }
  std::string UserName() { return Utf8ToCp949Text(options.user); }

  Installation& installation;
  Platform& platform;
  ConsoleNotices notices;
  const Options& options;
  PrintedLog log;
  UpgradeTool tool;
  bool needs_password = false;
  std::string password;  // UTF-8, as typed
};

// What a command checks before its own work. Each command lists its checks
// in its own order, and the order decides which exit status a user who fails
// two of them meets.
enum class Check {
  kBackupChoice,  // --skip-backup can be confirmed without a terminal
  kNotBusy,       // no other program holds the user
  kUserList,      // the user list can be read
  kKnownUser,     // the user is in it
  kShownProfile,  // the window can show the user; encrypted data needs a password
  kReadProfile,   // the current profile can be read; the same for the password
  kPassword,      // a password that is needed can be read
};

// A user whose lock another program holds is in the middle of an upgrade:
// what its folder holds now is neither listed nor checked. A lock that
// cannot be looked at may be held, and is taken for it.
bool BusyUser(Session& session, const std::string& name) {
  const Result<bool> busy = session.installation.UserBusy(Utf8ToCp949Text(name));
  if (busy.ok() && !*busy) return false;
  std::fprintf(stderr, "%s (%s)\n", texts::kUserBusy, name.c_str());
  return true;
}

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t more = 0;
    unsigned char low = 0x80;  // the range of the byte after the lead
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      more = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (bytes.size() - i <= more) return false;
    for (size_t k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += more + 1;
  }
  return true;
}

// A password piped in from a batch file or a text file saved the usual way
// on a Korean PC arrives in the console's code page (CP949), or as UTF-8
// after a byte-order mark: UTF-8 when the bytes are valid UTF-8, else CP949.
std::string PasswordFromBytes(std::string bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  return IsUtf8(bytes) ? bytes : Cp949ToUtf8Text(bytes);
}

Result<std::string> ReadPassword(const Options& options) {
  if (options.password_stdin) {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return PasswordFromBytes(line);
  }
  Result<std::string> typed = Console::ReadHiddenLine("Password for " + options.user + ": ");
  if (!typed.ok()) {
    std::fprintf(stderr,
                 "dayledger-upgrade: the data of %s is encrypted; give the password on a "
                 "terminal or with --password-stdin\n",
                 options.user.c_str());
  }
  return typed;
}

// Makes one check; kExitDone lets the command go on.
int Checked(Session& session, Check check) {
  const Options& options = session.options;
  switch (check) {
    case Check::kBackupChoice:
      if (options.skip_backup && !options.yes && !Console::HasTerminal()) {
        std::fprintf(stderr,
                     "dayledger-upgrade: --skip-backup needs --yes when no terminal can ask\n");
        return kExitMisused;
      }
      return kExitDone;
    case Check::kNotBusy:
      return BusyUser(session, options.user) ? kExitRefused : kExitDone;
    case Check::kUserList:
      return session.Shown(session.tool.LoadUsers());
    case Check::kKnownUser: {
      const std::vector<std::string>& users = session.tool.users();
      const auto found = std::find(users.begin(), users.end(), options.user);
      if (found == users.end()) {
        std::fprintf(stderr, "dayledger-upgrade: unknown user %s\n", options.user.c_str());
        return kExitMisused;
      }
      return kExitDone;
    }
    case Check::kShownProfile: {
      const Reply reply = session.tool.ShowUser(session.UserName());
      // Encrypted data needs a password.
      if (reply.view) session.needs_password = reply.view->encrypted.value_or(false);
      return session.Shown(reply);
    }
    case Check::kReadProfile: {
      return session.Shown(VerifyNeedsPassword(session.installation, {session.UserName(), ""},
                                               &session.needs_password));
    }
    case Check::kPassword:
      if (session.needs_password) {
        const Result<std::string> password = ReadPassword(options);
        if (!password.ok()) return kExitMisused;
        session.password = *password;
      }
      return kExitDone;
  }
  return kExitDone;
}

int ListCommand(Session& session) {
  UpgradeTool& tool = session.tool;
  for (size_t i = 0; i < tool.users().size(); ++i) {
    const std::string& name = tool.users()[i];
    std::optional<UserView> view;
    if (!BusyUser(session, name)) {
      const Reply reply = tool.ShowUser(tool.NameAt(static_cast<int>(i)));
      if (session.Shown(reply) == kExitDone) view = reply.view;
    }
    if (view) {
      const std::string encryption =
          view->encrypted ? texts::EncryptionShown(*view->encrypted) : "";
      const std::string version =
          view->version ? Cp949ToUtf8Text(ShownVersion(*view->version)) : "";
      std::printf("%s\t%s\t%s\n", name.c_str(), encryption.c_str(), version.c_str());
    } else {
      std::printf("%s\t\t\n", name.c_str());
    }
  }
  return kExitDone;
}

int UpgradeCommand(Session& session) {
  StartRequest request{session.UserName(), session.password};
  request.skip_backup = session.options.skip_backup;
  // --yes answers the start's questions: skipping the backup, and the
  // scheduler closed on every PC of a network drive.
  request.skip_confirmed = session.options.yes;
  request.others_closed = session.options.yes;
  return ExitStatusOf(RunUpgrade(session.tool, request, session.notices).outcome);
}

int CheckCommand(Session& session) {
  UpgradeDryRun dry_run;
  std::vector<PreflightProblem> problems;
  const Reply checked =
      CheckUser(session.installation, session.UserName(), session.password, dry_run, &problems);
  // One line per problem: the report's lines (its reason among them) side by side.
  for (const PreflightProblem& problem : problems) {
    std::string error = Worded(session.platform, problem.said).text;
    std::replace(error.begin(), error.end(), '\n', ' ');
    std::printf("%s\t%s\n", session.platform.Shown(problem.path).c_str(), error.c_str());
  }
  return session.Shown(checked);
}

int RestoreCommand(Session& session) {
  Platform& platform = session.platform;
  RestorePlan plan;
  const Reply planned = PlanRestore(session.installation, session.UserName(), &plan);
  if (const int status = session.Shown(planned); status != kExitDone) return status;
  std::printf(texts::kRestoreVersions, ShownVersion(plan.backup_version).c_str(),
              plan.current_version.empty() ? texts::kUnreadable
                                           : ShownVersion(plan.current_version).c_str());
  std::fflush(stdout);
  if (!session.options.yes) {
    if (!Console::HasTerminal()) {
      std::fprintf(stderr, "dayledger-upgrade: restore needs --yes when no terminal can ask\n");
      return kExitMisused;
    }
    if (!Console::AskYesNo(texts::kRestoreQuestion).value_or(false)) return kExitRefused;
  }
  // --yes answers the start's question about the other PCs too.
  std::vector<Path> undeleted;
  Reply restored = Restore(session.installation, &plan, &undeleted, session.options.yes);
  if (restored.outcome == Outcome::kAsk) {
    if (!session.notices.Show(restored.said.front())) return kExitRefused;
    restored = Restore(session.installation, &plan, &undeleted, true);
  }
  if (const int status = session.Shown(restored); status != kExitDone) return status;
  for (const Path& path : undeleted) {
    std::printf("%s%s\n", texts::kLogUndeleted, platform.Shown(path).c_str());
  }
  std::printf("%s%s\n", texts::kKeptAside, ShownFolder(platform, plan.aside_dir).c_str());
  std::printf("%s\n", texts::kRestored);
  return kExitDone;
}

int VerifyCommand(Session& session) {
  const VerifyRequest request{session.UserName(), session.password};
  VerifyReport report;
  const Reply verified = Verify(session.installation, request, &report);
  if (const int status = session.Shown(verified); status != kExitDone) return status;
  const std::string shown = session.options.json ? VerifyJson(session.platform, report)
                                                 : VerifySummary(session.platform, report);
  std::fputs(shown.c_str(), stdout);
  return report.accounted_for() ? kExitDone : kExitRefused;
}

// One terminal command: its checks, in order, then its own work.
struct TerminalCommand {
  Command command;
  std::vector<Check> checks;
  int (*work)(Session&);
};

const TerminalCommand kCommands[] = {
    {Command::kList, {Check::kUserList}, ListCommand},
    {Command::kUpgrade,
     {Check::kBackupChoice, Check::kUserList, Check::kKnownUser, Check::kShownProfile,
      Check::kPassword},
     UpgradeCommand},
    {Command::kCheck,
     {Check::kNotBusy, Check::kUserList, Check::kKnownUser, Check::kShownProfile, Check::kPassword},
     CheckCommand},
    {Command::kVerify,
     {Check::kNotBusy, Check::kUserList, Check::kKnownUser, Check::kReadProfile, Check::kPassword},
     VerifyCommand},
    {Command::kRestore, {Check::kUserList, Check::kKnownUser, Check::kNotBusy}, RestoreCommand},
};

}  // namespace

int RunCommand(Installation& installation, Console& console, const Options& options) {
  Session session(installation, console, options);
  for (const TerminalCommand& command : kCommands) {
    if (command.command != session.options.command) continue;
    for (const Check check : command.checks) {
      if (const int status = Checked(session, check); status != kExitDone) return status;
    }
    return command.work(session);
  }
  return kExitMisused;
}

}  // namespace dayledger::cli
