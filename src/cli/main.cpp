// dayledger-upgrade: the upgrade from a terminal, on the same core as the window.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "cli/verify_output.h"
#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "platform/system_platform.h"
#include "platform/tool_path.h"
#include "platform/virtual_store_platform.h"
#include "state/file_names.h"
#include "state/version_code.h"
#include "texts/texts.h"
#include "upgrade/error_report.h"
#include "upgrade/preflight.h"
#include "upgrade/recovery_on_open.h"
#include "upgrade/restore.h"
#include "upgrade/upgrade_runner.h"
#include "upgrade/user_lock.h"
#include "upgrade/verify.h"

namespace dayledger::cli {
namespace {

enum ExitStatus { kOk = 0, kRefused = 1, kUsage = 2, kStopped = 3 };

// The installation's folder as given, in any characters the system can name.
std::string ToolAppDir(SystemPlatform& platform, const std::string& native) {
  const std::u8string u8 =
      std::filesystem::absolute(std::filesystem::u8path(native)).lexically_normal().u8string();
  std::string path(u8.begin(), u8.end());
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return platform.UseAppDir(ToolPathFromNative(path));
}

// A folder in the form the system's own programs show it.
std::string ShownFolder(Platform& platform, const std::string& tool_path) {
  const std::string utf8 = platform.Cp949ToUtf8(tool_path);
#ifdef _WIN32
  return utf8;
#else
  return NativePathFromTool(utf8);
#endif
}

// Prints the progress log as it is written; on a terminal, also the
// progress bar of the long steps.
class PrintedLog : public UpgradePort {
 public:
  void AppendLogLine(const std::string& line) override;
  void ShowProgress(const std::string& what, int done, int total) override;

 private:
  bool bar_ = Console::StderrIsTerminal();
};

// Shows the reply's notices; true when the verb did its work.
bool Done(Console& console, const Reply& reply) {
  for (const Notice& notice : reply.notices) ShowNotice(console, notice);
  return reply.outcome == Outcome::kDone;
}

// The user list as the window reads it; false if it could not be read.
bool LoadUsers(Console& console, UpgradeTool& tool) { return Done(console, tool.LoadUsers()); }

// What the window shows of the user; nullopt if the profile could not be
// shown (its message went to standard error).
std::optional<UserView> ShowUser(Console& console, UpgradeTool& tool, int index) {
  const Reply reply = tool.ShowUser(index);
  if (!Done(console, reply)) return std::nullopt;
  return reply.view;
}

int FindUser(const UpgradeTool& tool, const std::string& name) {
  const std::vector<std::string>& users = tool.users();
  for (size_t i = 0; i < users.size(); ++i) {
    if (users[i] == name) return static_cast<int>(i);
  }
  std::fprintf(stderr, "dayledger-upgrade: unknown user %s\n", name.c_str());
  return -1;
}

std::optional<std::string> ReadPassword(const Options& options) {
  if (options.password_stdin) {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  const auto typed = Console::ReadHiddenLine("Password for " + options.user + ": ");
  if (!typed) {
    std::fprintf(stderr,
                 "dayledger-upgrade: the data of %s is encrypted; give the password on a "
                 "terminal or with --password-stdin\n",
                 options.user.c_str());
  }
  return typed;
}

// A user whose lock another program holds is in the middle of an upgrade:
// what its folder holds now is neither listed nor checked.
bool BusyUser(Platform& platform, const std::string& app_dir, const std::string& name) {
  if (!UserBusy(platform, app_dir, platform.Utf8ToCp949(name))) return false;
  std::fprintf(stderr, "%s (%s)\n", texts::kUserBusy, name.c_str());
  return true;
}

int List(Platform& platform, Console& console, const std::string& app_dir) {
  UpgradePort no_log;  // nothing here writes the log
  UpgradeTool tool(platform, no_log, app_dir);
  if (!LoadUsers(console, tool)) return kRefused;
  for (size_t i = 0; i < tool.users().size(); ++i) {
    const std::string& name = tool.users()[i];
    std::optional<UserView> view;
    if (!BusyUser(platform, app_dir, name)) view = ShowUser(console, tool, static_cast<int>(i));
    if (view) {
      std::printf("%s\t%s\t%s\n", name.c_str(), view->encryption.value_or("").c_str(),
                  view->version.value_or("").c_str());
    } else {
      std::printf("%s\t\t\n", name.c_str());
    }
  }
  return kOk;
}

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

// Reads the user list, selects the named user and, for encrypted data,
// reads the password into the request. 0, or the exit status to stop with.
int OpenUser(Console& console, UpgradeTool& tool, const Options& options, StartRequest* request) {
  if (!LoadUsers(console, tool)) return kRefused;
  request->user = FindUser(tool, options.user);
  if (request->user < 0) return kUsage;
  const auto view = ShowUser(console, tool, request->user);
  if (!view) return kRefused;
  // The password box is enabled for encrypted data only.
  if (view->password_enabled.value_or(false)) {
    const auto password = ReadPassword(options);
    if (!password) return kUsage;
    request->password = *password;
  }
  return kOk;
}

int Upgrade(Platform& platform, Console& console, const std::string& app_dir,
            const Options& options) {
  if (options.skip_backup && !options.yes && !Console::HasTerminal()) {
    std::fprintf(stderr, "dayledger-upgrade: --skip-backup needs --yes when no terminal can ask\n");
    return kUsage;
  }
  PrintedLog log;
  UpgradeTool tool(platform, log, app_dir);
  StartRequest request;
  if (const int status = OpenUser(console, tool, options, &request); status != kOk) {
    return status;
  }
  request.skip_backup = options.skip_backup;
  if (options.yes) console.question_answer = kIdYes;
  switch (RunUpgrade(tool, request, console)) {
    case RunOutcome::kDone:
      return kOk;
    case RunOutcome::kRefused:
      return kRefused;
    case RunOutcome::kBackupFailed:
    case RunOutcome::kStopped:
      break;
  }
  return kStopped;
}

int Check(Platform& platform, Console& console, const std::string& app_dir,
          const Options& options) {
  if (BusyUser(platform, app_dir, options.user)) return kRefused;
  UpgradePort no_log;  // nothing here writes the log
  UpgradeTool tool(platform, no_log, app_dir);
  StartRequest request;
  if (const int status = OpenUser(console, tool, options, &request); status != kOk) {
    return status;
  }
  const PreflightResult result = CheckUser(platform, app_dir, request.user, request.password);
  for (const std::string& refusal : result.refusals) std::fprintf(stderr, "%s\n", refusal.c_str());
  for (const PreflightProblem& problem : result.problems) {
    std::printf("%s\t%s\n", problem.path.c_str(), problem.error.c_str());
  }
  return result.clean() ? kOk : kRefused;
}

int RestoreUser(Platform& platform, Console& console, const std::string& app_dir,
                const Options& options) {
  UpgradePort no_log;  // nothing here writes the log
  UpgradeTool tool(platform, no_log, app_dir);
  if (!LoadUsers(console, tool)) return kRefused;
  if (FindUser(tool, options.user) < 0) return kUsage;
  const std::string name = platform.Utf8ToCp949(options.user);
  if (BusyUser(platform, app_dir, options.user)) return kRefused;
  IoStatus refusal;
  const auto plan = PlanRestore(platform, app_dir, name, &refusal);
  if (!plan) {
    std::fprintf(stderr, "%s%s\n",
                 refusal.error == IoError::kNotFound ? texts::kNoBackupToRestore
                                                     : texts::kBackupProfileUnreadable,
                 platform.Cp949ToUtf8(refusal.path).c_str());
    return kRefused;
  }
  std::printf(texts::kRestoreVersions, ShownVersion(plan->backup_version).c_str(),
              plan->current_version.empty() ? texts::kUnreadable
                                            : ShownVersion(plan->current_version).c_str());
  std::fflush(stdout);
  if (!options.yes) {
    if (!Console::HasTerminal()) {
      std::fprintf(stderr, "dayledger-upgrade: restore needs --yes when no terminal can ask\n");
      return kUsage;
    }
    if (!Console::AskYesNo(texts::kRestoreQuestion)) return kRefused;
  }
  RestoreResult result;
  if (!RunReported(platform, console, [&] { result = Restore(platform, *plan); })) return kStopped;
  if (result.lock == LockResult::kBusy) {
    std::fprintf(stderr, "%s\n", texts::kUserBusy);
    return kRefused;
  }
  if (result.lock == LockResult::kUnavailable) {
    std::fprintf(stderr, "%s%s\n", texts::kLockUnavailable,
                 platform.Cp949ToUtf8(UserLockPath(app_dir, name)).c_str());
    return kStopped;
  }
  for (const std::string& path : result.undeleted) {
    std::printf("%s%s\n", texts::kLogUndeleted, platform.Cp949ToUtf8(path).c_str());
  }
  std::printf("%s%s\n", texts::kKeptAside, ShownFolder(platform, plan->aside_dir).c_str());
  std::printf("%s\n", texts::kRestored);
  return kOk;
}

int VerifyUser(Platform& platform, Console& console, const std::string& app_dir,
               const Options& options) {
  if (BusyUser(platform, app_dir, options.user)) return kRefused;
  UpgradePort no_log;  // nothing here writes the log
  UpgradeTool tool(platform, no_log, app_dir);
  if (!LoadUsers(console, tool)) return kRefused;
  if (FindUser(tool, options.user) < 0) return kUsage;
  VerifyRequest request{app_dir, platform.Utf8ToCp949(options.user), ""};
  const auto encrypted = VerifyNeedsPassword(platform, request);
  if (!encrypted) {
    std::fprintf(
        stderr, "%s: %s\n", texts::kProfileDamaged,
        platform.Cp949ToUtf8(NormalPath(ProfilePath(UserFolder(app_dir, request.user_name))))
            .c_str());
    return kStopped;
  }
  if (*encrypted) {
    const auto password = ReadPassword(options);
    if (!password) return kUsage;
    request.password = *password;
  }
  VerifyReport report;
  VerifyRefusal refusal = VerifyRefusal::kNone;
  if (!RunReported(platform, console, [&] { refusal = Verify(platform, request, &report); })) {
    return kStopped;
  }
  const std::string backup =
      platform.Cp949ToUtf8(NormalPath(BackupFolder(app_dir, request.user_name)));
  switch (refusal) {
    case VerifyRefusal::kNone:
      break;
    case VerifyRefusal::kNoBackup:
      std::fprintf(stderr, "%s%s\n", texts::kNoBackupToCompare, backup.c_str());
      return kStopped;
    case VerifyRefusal::kBackupNotOlder:
      std::fprintf(stderr, "%s%s\n", texts::kBackupNotOlder, backup.c_str());
      return kStopped;
    case VerifyRefusal::kNotUpgraded:
      std::fprintf(stderr, "%s\n", texts::kNotUpgraded);
      return kRefused;
    case VerifyRefusal::kWrongPassword:
      std::fprintf(stderr, "%s\n", texts::kWrongPassword);
      return kRefused;
  }
  const std::string shown =
      options.json ? VerifyJson(platform, report) : VerifySummary(platform, report);
  std::fputs(shown.c_str(), stdout);
  return report.accounted_for() ? kOk : kRefused;
}

int Run(int argc, char* argv[]) {
  std::string error;
  const auto options = ParseOptions(Console::Arguments(argc, argv), &error);
  if (!options) {
    std::fprintf(stderr, "dayledger-upgrade: %s\nTry 'dayledger-upgrade --help'.\n", error.c_str());
    return kUsage;
  }
  if (options->command == Command::kHelp) {
    std::fputs(kHelpText, stdout);
    return kOk;
  }
  SystemPlatform system;
  Console console;
  const std::string app_dir = options->app_dir.empty()
                                  ? AppDirFromExecutable(system.ExecutablePath())
                                  : ToolAppDir(system, options->app_dir);
  // An installation Windows virtualizes is seen as the scheduler sees it.
  InstallationView view(system, system.VirtualStoreFolder(app_dir), app_dir);
  Platform& platform = view.platform();
  // An upgrade a crash interrupted is finished or undone before anything is read.
  for (const std::string& note : RecoverInstallation(platform, app_dir)) {
    std::fprintf(stderr, "%s\n", note.c_str());
  }
  switch (options->command) {
    case Command::kHelp:
    case Command::kList:
      break;
    case Command::kUpgrade:
      return Upgrade(platform, console, app_dir, *options);
    case Command::kCheck:
      return Check(platform, console, app_dir, *options);
    case Command::kVerify:
      return VerifyUser(platform, console, app_dir, *options);
    case Command::kRestore:
      return RestoreUser(platform, console, app_dir, *options);
  }
  return List(platform, console, app_dir);
}

}  // namespace
}  // namespace dayledger::cli

int main(int argc, char* argv[]) { return dayledger::cli::Run(argc, argv); }
