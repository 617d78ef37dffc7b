// dayledger-upgrade: the upgrade from a terminal, on the same core as the window.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/verify_output.h"
#include "platform/console_platform.h"
#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "state/version_code.h"
#include "upgrade/error_report.h"
#include "upgrade/preflight.h"
#include "upgrade/recovery_on_open.h"
#include "upgrade/restore.h"
#include "upgrade/texts.h"
#include "upgrade/upgrade_runner.h"
#include "upgrade/user_lock.h"
#include "upgrade/verify.h"

namespace dayledger::cli {
namespace {

enum ExitStatus { kOk = 0, kRefused = 1, kUsage = 2, kStopped = 3 };

// The installation's folder as given, in any characters the system can name.
std::string ToolAppDir(ConsolePlatform& platform, const std::string& native) {
  const std::u8string u8 =
      std::filesystem::absolute(std::filesystem::u8path(native)).lexically_normal().u8string();
  std::string path(u8.begin(), u8.end());
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return platform.UseAppDir(ToolPathFromNative(path));
}

// The user list as the window reads it; false if it could not be read.
bool LoadUsers(ConsolePlatform& platform, UpgradeTool& tool) {
  const int before = platform.messages_shown;
  bool filled = false;
  return RunReported(platform, [&] { filled = tool.FillUserList(); }) && filled &&
         platform.messages_shown == before;
}

// Selects the user as a click in the list does; false if the profile could
// not be shown (its message went to standard error).
bool SelectUser(ConsolePlatform& platform, UpgradeTool& tool, HeadlessPort& port, int index) {
  port.selected = index;
  const int before = platform.messages_shown;
  return RunReported(platform, [&] { tool.ListBox1Click(); }) && platform.messages_shown == before;
}

int FindUser(const HeadlessPort& port, const std::string& name) {
  for (size_t i = 0; i < port.users.size(); ++i) {
    if (port.users[i] == name) return static_cast<int>(i);
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
  const auto typed = ConsolePlatform::ReadHiddenLine("Password for " + options.user + ": ");
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
bool BusyUser(ConsolePlatform& platform, const std::string& app_dir, const std::string& name) {
  if (!UserBusy(platform, app_dir, platform.Utf8ToCp949(name))) return false;
  std::fprintf(stderr, "%s (%s)\n", texts::kUserBusy, name.c_str());
  return true;
}

int List(ConsolePlatform& platform, const std::string& app_dir) {
  HeadlessPort port;
  UpgradeTool tool(platform, port, app_dir);
  if (!LoadUsers(platform, tool)) return kRefused;
  for (size_t i = 0; i < port.users.size(); ++i) {
    if (!BusyUser(platform, app_dir, port.users[i]) &&
        SelectUser(platform, tool, port, static_cast<int>(i))) {
      std::printf("%s\t%s\t%s\n", port.users[i].c_str(), port.encryption_label.c_str(),
                  port.version_label.c_str());
    } else {
      std::printf("%s\t\t\n", port.users[i].c_str());
    }
  }
  return kOk;
}

// Shows "일정 데이터 [######--------------] 120/600 (20%)" on one terminal
// line while the stages run, in the log's language.
void ShowProgress(const std::string& what, int done, int total) {
  constexpr int kWidth = 20;
  const int filled = total > 0 ? done * kWidth / total : kWidth;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '-');
  std::fprintf(stderr, "\r\033[K%s [%s] %d/%d (%d%%)", what.c_str(), bar.c_str(), done, total,
               total > 0 ? done * 100 / total : 100);
  if (done == total) std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
}

// Reads the user list, selects the named user and, for encrypted data,
// takes the password into the port. 0, or the exit status to stop with.
int OpenUser(ConsolePlatform& platform, UpgradeTool& tool, HeadlessPort& port,
             const Options& options, int* index) {
  if (!LoadUsers(platform, tool)) return kRefused;
  *index = FindUser(port, options.user);
  if (*index < 0) return kUsage;
  if (!SelectUser(platform, tool, port, *index)) return kRefused;
  if (tool.state().Encrypted) {
    const auto password = ReadPassword(options);
    if (!password) return kUsage;
    port.password = *password;
  }
  return kOk;
}

int Upgrade(ConsolePlatform& platform, const std::string& app_dir, const Options& options) {
  if (options.skip_backup && !options.yes && !ConsolePlatform::HasTerminal()) {
    std::fprintf(stderr, "dayledger-upgrade: --skip-backup needs --yes when no terminal can ask\n");
    return kUsage;
  }
  HeadlessPort port;
  UpgradeTool tool(platform, port, app_dir);
  int index = -1;
  if (const int status = OpenUser(platform, tool, port, options, &index); status != kOk) {
    return status;
  }
  port.skip_backup = options.skip_backup;
  if (options.yes) platform.question_answer = kIdYes;
  port.on_log = [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  };
  if (ConsolePlatform::StderrIsTerminal()) port.on_progress = ShowProgress;
  switch (RunUpgrade(tool, port, platform)) {
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

int Check(ConsolePlatform& platform, const std::string& app_dir, const Options& options) {
  if (BusyUser(platform, app_dir, options.user)) return kRefused;
  HeadlessPort port;
  UpgradeTool tool(platform, port, app_dir);
  int index = -1;
  if (const int status = OpenUser(platform, tool, port, options, &index); status != kOk) {
    return status;
  }
  const PreflightResult result = CheckUser(platform, app_dir, index, port.password);
  for (const std::string& refusal : result.refusals) std::fprintf(stderr, "%s\n", refusal.c_str());
  for (const PreflightProblem& problem : result.problems) {
    std::printf("%s\t%s\n", problem.path.c_str(), problem.error.c_str());
  }
  return result.clean() ? kOk : kRefused;
}

int RestoreUser(ConsolePlatform& platform, const std::string& app_dir, const Options& options) {
  HeadlessPort port;
  UpgradeTool tool(platform, port, app_dir);
  if (!LoadUsers(platform, tool)) return kRefused;
  if (FindUser(port, options.user) < 0) return kUsage;
  const std::string name = platform.Utf8ToCp949(options.user);
  if (BusyUser(platform, app_dir, options.user)) return kRefused;
  std::string refusal;
  const auto plan = PlanRestore(platform, app_dir, name, &refusal);
  if (!plan) {
    std::fprintf(stderr, "%s\n", refusal.c_str());
    return kRefused;
  }
  std::printf("백업의 데이터 버전 : %s\n현재 데이터 버전 : %s\n",
              ShownVersion(plan->backup_version).c_str(),
              plan->current_version.empty() ? "(읽을 수 없음)"
                                            : ShownVersion(plan->current_version).c_str());
  std::fflush(stdout);
  if (!options.yes) {
    if (!ConsolePlatform::HasTerminal()) {
      std::fprintf(stderr, "dayledger-upgrade: restore needs --yes when no terminal can ask\n");
      return kUsage;
    }
    if (!ConsolePlatform::AskYesNo("백업으로 되돌릴까요?")) return kRefused;
  }
  RestoreResult result;
  if (!RunReported(platform, [&] { result = Restore(platform, *plan); })) return kStopped;
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
    std::printf(" - 삭제하지 못한 파일 : %s\n", platform.Cp949ToUtf8(path).c_str());
  }
  std::printf("되돌리기 전의 폴더는 다음 위치에 보관하였습니다 : %s\n",
              platform.Native(plan->aside_dir).c_str());
  std::printf("백업으로 되돌렸습니다.\n");
  return kOk;
}

int VerifyUser(ConsolePlatform& platform, const std::string& app_dir, const Options& options) {
  if (BusyUser(platform, app_dir, options.user)) return kRefused;
  HeadlessPort port;
  UpgradeTool tool(platform, port, app_dir);
  if (!LoadUsers(platform, tool)) return kRefused;
  if (FindUser(port, options.user) < 0) return kUsage;
  VerifyRequest request{app_dir, platform.Utf8ToCp949(options.user), ""};
  const auto encrypted = VerifyNeedsPassword(platform, request);
  if (!encrypted) {
    std::fprintf(
        stderr, "%s: %s\n", texts::kProfileDamaged,
        platform.Cp949ToUtf8(app_dir + "users\\" + request.user_name + "\\profile.qbd").c_str());
    return kStopped;
  }
  if (*encrypted) {
    const auto password = ReadPassword(options);
    if (!password) return kUsage;
    request.password = platform.Utf8ToCp949(*password);
  }
  VerifyReport report;
  VerifyRefusal refusal = VerifyRefusal::kNone;
  if (!RunReported(platform, [&] { refusal = Verify(platform, request, &report); })) {
    return kStopped;
  }
  const std::string backup = platform.Cp949ToUtf8(app_dir + "upgrade_backup\\" + request.user_name);
  switch (refusal) {
    case VerifyRefusal::kNone:
      break;
    case VerifyRefusal::kNoBackup:
      std::fprintf(stderr, "비교할 백업이 없습니다: %s\n", backup.c_str());
      return kStopped;
    case VerifyRefusal::kBackupNotOlder:
      std::fprintf(stderr, "백업이 이미 v 1.03.00이어서 업그레이드 전의 데이터가 아닙니다: %s\n",
                   backup.c_str());
      return kStopped;
    case VerifyRefusal::kNotUpgraded:
      std::fprintf(stderr, "아직 v 1.03.00으로 업그레이드되지 않은 사용자입니다.\n");
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
  const auto options = ParseOptions(ConsolePlatform::Arguments(argc, argv), &error);
  if (!options) {
    std::fprintf(stderr, "dayledger-upgrade: %s\nTry 'dayledger-upgrade --help'.\n", error.c_str());
    return kUsage;
  }
  if (options->command == "help") {
    std::fputs(kHelpText, stdout);
    return kOk;
  }
  ConsolePlatform platform;
  const std::string app_dir = options->app_dir.empty()
                                  ? AppDirFromExecutable(platform.ExecutablePath())
                                  : ToolAppDir(platform, options->app_dir);
  // An upgrade a crash interrupted is finished or undone before anything is read.
  for (const std::string& note : RecoverInstallation(platform, app_dir)) {
    std::fprintf(stderr, "%s\n", note.c_str());
  }
  if (options->command == "list") return List(platform, app_dir);
  if (options->command == "upgrade") return Upgrade(platform, app_dir, *options);
  if (options->command == "restore") return RestoreUser(platform, app_dir, *options);
  if (options->command == "verify") return VerifyUser(platform, app_dir, *options);
  return Check(platform, app_dir, *options);
}

}  // namespace
}  // namespace dayledger::cli

int main(int argc, char* argv[]) { return dayledger::cli::Run(argc, argv); }
