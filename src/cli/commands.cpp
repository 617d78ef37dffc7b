// The terminal program's commands: the checks each makes before its own
// work, in its own order, the work, and how it ended.
#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/preflight.h"
#include "cli/json_answer.h"
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

// What the core tells, on the console, its places as `platform` shows them;
// the words also go into `transcript`, a line each.
class ConsoleNotices : public Notices {
 public:
  ConsoleNotices(Platform& platform, Console& console, std::string* transcript)
      : platform_(platform), console_(console), transcript_(transcript) {}
  bool Show(const Said& said) override {
    const Notice notice = Worded(platform_, said);
    *transcript_ += notice.text + "\n";
    return console_.Show(notice);
  }

 private:
  Platform& platform_;
  Console& console_;
  std::string* transcript_;
};

// Prints the progress log as it is written; on a terminal, also the
// progress bar of the long steps.
class PrintedLog : public UpgradePort {
 public:
  explicit PrintedLog(FILE* out) : out_(out) {}
  void AppendLogLine(const std::string& line) override;
  void ShowProgress(const std::string& what, int done, int total) override;

 private:
  FILE* out_;
  bool bar_ = Console::StderrIsTerminal();
};

void PrintedLog::AppendLogLine(const std::string& line) {
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
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
// the tool that reads the user list as the window does, the user at hand
// and what the command's checks found, and the answers so far. Only the
// stages write the tool's log. With --json, standard output holds the
// document alone: what would go there goes to standard error.
struct Session {
  Session(Installation& i, Console& c, const Options& o)
      : installation(i),
        platform(i.platform()),
        notices(i.platform(), c, &answer.message),
        options(o),
        out(o.json ? stderr : stdout),
        log(out),
        tool(i, log) {}

  // Shows what the reply tells; the exit status of how the verb ended.
  int Shown(const Reply& reply) {
    for (const Said& said : reply.said) notices.Show(said);
    answer.reply = reply;
    return ExitStatusOf(reply.outcome);
  }
  // A line of the terminal program's own on standard error, about the user.
  void Tell(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    answer.message += text + "\n";
  }
  // The user whose part begins: the name as shown (UTF-8) and as the user
  // list has it (CP949).
  void Begin(const std::string& name, const std::string& listed) {
    answer = UserAnswer();
    answer.name = name;
    user = listed;
    needs_password = false;
    password.clear();
  }
  // The user's part ends with `status`; the data version it left is read.
  int End(int status) {
    answer.exit_status = status;
    if (!answer.message.empty()) answer.message.pop_back();
    // Only a document reads the data version the command left.
    if (options.json && !tool.users().empty() && !BusyNow()) {
      const Reply after = tool.ShowUser(UserName());
      if (after.outcome == Outcome::kDone && after.view) answer.version_after = after.view->version;
    }
    answers.push_back(UserJson(platform, answer));
    return status;
  }
  // What the user's profile says, where the tool showed it.
  void Saw(const Reply& shown) {
    if (!shown.view) return;
    if (shown.view->encrypted) answer.encrypted = shown.view->encrypted;
    if (shown.view->version && !answer.version_before) answer.version_before = shown.view->version;
  }
  std::string UserName() const { return user; }
  bool BusyNow() {
    const Result<bool> busy = installation.UserBusy(UserName());
    return !busy.ok() || *busy;
  }

  Installation& installation;
  Platform& platform;
  UserAnswer answer;
  std::string user;  // the user at hand, as the user list has it (CP949)
  ConsoleNotices notices;
  const Options& options;
  FILE* out;
  PrintedLog log;
  UpgradeTool tool;
  bool needs_password = false;
  std::string password;  // UTF-8, as typed
  // With --all --password-stdin: each user's password (UTF-8) by name.
  std::optional<std::map<std::string, std::string>> passwords;
  std::unique_ptr<UsersRun> run;  // upgrade --all: one run over the users
  nlohmann::ordered_json answers = nlohmann::ordered_json::array();
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
  session.Tell(std::string(texts::kUserBusy) + " (" + name + ")");
  session.answer.reason = "user_busy";
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

// With --all, standard input gives a line per user: the name, a tab, the
// password (UTF-8), read once.
std::map<std::string, std::string> PasswordLines() {
  std::map<std::string, std::string> passwords;
  for (std::string line; std::getline(std::cin, line);) {
    if (passwords.empty() && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    passwords.emplace(line.substr(0, tab), line.substr(tab + 1));
  }
  return passwords;
}

Result<std::string> ReadPassword(const Options& options) {
  if (options.password_stdin) {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return PasswordFromBytes(line);
  }
  return Console::ReadHiddenLine("Password for " + options.user + ": ");
}

// The password the user's encrypted data needs; the reason why there is none.
int PasswordFor(Session& session) {
  const Options& options = session.options;
  const std::string& name = session.answer.name;
  if (options.all && options.password_stdin) {
    if (!session.passwords) session.passwords = PasswordLines();
    const auto found = session.passwords->find(name);
    if (found != session.passwords->end()) {
      session.password = found->second;
      return kExitDone;
    }
  } else if (!options.all || Console::HasTerminal()) {
    Options asked = options;
    asked.user = name;
    const Result<std::string> password = ReadPassword(asked);
    if (password.ok()) {
      session.password = *password;
      return kExitDone;
    }
  }
  session.Tell("dayledger-upgrade: the data of " + name +
               " is encrypted; give the password on a terminal or with --password-stdin");
  // In a run over every user, one without a password is refused and the
  // others go on; a single user's command was misused.
  session.answer.reason = "password_needed";
  return options.all ? kExitRefused : kExitMisused;
}

// Makes one check; kExitDone lets the command go on.
int Checked(Session& session, Check check) {
  const Options& options = session.options;
  const std::string& name = session.answer.name;
  switch (check) {
    case Check::kBackupChoice:
      if (options.skip_backup && !options.yes && !Console::HasTerminal()) {
        session.Tell("dayledger-upgrade: --skip-backup needs --yes when no terminal can ask");
        session.answer.reason = "declined";
        return kExitMisused;
      }
      return kExitDone;
    case Check::kNotBusy:
      return BusyUser(session, name) ? kExitRefused : kExitDone;
    case Check::kUserList:
      return session.Shown(session.tool.LoadUsers());
    case Check::kKnownUser: {
      const std::vector<std::string>& users = session.tool.users();
      if (std::find(users.begin(), users.end(), name) == users.end()) {
        session.Tell("dayledger-upgrade: unknown user " + name);
        session.answer.reason = "unknown_user";
        return kExitMisused;
      }
      return kExitDone;
    }
    case Check::kShownProfile: {
      const Reply reply = session.tool.ShowUser(session.UserName());
      session.Saw(reply);
      // Encrypted data needs a password; in a run over every user, not for
      // one whose data is at the latest version already, which is told so.
      if (reply.view) session.needs_password = reply.view->encrypted.value_or(false);
      if (options.all && reply.view && reply.view->version == VersionChain::Standard().target()) {
        session.needs_password = false;
      }
      return session.Shown(reply);
    }
    case Check::kReadProfile: {
      session.Saw(session.tool.ShowUser(session.UserName()));
      return session.Shown(VerifyNeedsPassword(session.installation, {session.UserName(), ""},
                                               &session.needs_password));
    }
    case Check::kPassword:
      return session.needs_password ? PasswordFor(session) : kExitDone;
  }
  return kExitDone;
}

int ListCommand(Session& session) {
  UpgradeTool& tool = session.tool;
  const std::vector<std::string> names = tool.users();
  for (size_t row = 0; row < names.size(); ++row) {
    const std::string& name = names[row];
    session.Begin(name, tool.NameAt(static_cast<int>(row)));
    std::optional<UserView> view;
    int status = kExitRefused;
    if (!BusyUser(session, name)) {
      const Reply reply = tool.ShowUser(session.UserName());
      session.Saw(reply);
      status = session.Shown(reply);
      if (status == kExitDone) view = reply.view;
    }
    if (view) {
      const std::string encryption =
          view->encrypted ? texts::EncryptionShown(*view->encrypted) : "";
      const std::string version =
          view->version ? Cp949ToUtf8Text(ShownVersion(*view->version)) : "";
      std::fprintf(session.out, "%s\t%s\t%s\n", name.c_str(), encryption.c_str(), version.c_str());
    } else {
      std::fprintf(session.out, "%s\t\t\n", name.c_str());
    }
    session.End(status);
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
  Reply reply;
  if (session.options.all) {
    if (!session.run)
      session.run = std::make_unique<UsersRun>(session.tool, request, session.notices);
    reply = session.run->Upgrade(session.UserName(), session.password);
  } else {
    reply = RunUpgrade(session.tool, request, session.notices);
  }
  session.answer.reply = reply;
  return ExitStatusOf(reply.outcome);
}

int CheckCommand(Session& session) {
  UpgradeDryRun dry_run;
  std::vector<PreflightProblem> problems;
  const Reply checked =
      CheckUser(session.installation, session.UserName(), session.password, dry_run, &problems);
  // One line per problem: the report's lines (its reason among them) side by side.
  nlohmann::ordered_json listed = nlohmann::ordered_json::array();
  for (const PreflightProblem& problem : problems) {
    std::string error = Worded(session.platform, problem.said).text;
    std::replace(error.begin(), error.end(), '\n', ' ');
    const std::string path = session.platform.Shown(problem.path);
    std::fprintf(session.out, "%s\t%s\n", path.c_str(), error.c_str());
    listed.push_back({{"path", path}, {"error", error}});
  }
  session.answer.details = {{"problems", listed}};
  if (!problems.empty()) session.answer.reason = "problems_found";
  return session.Shown(checked);
}

int RestoreCommand(Session& session) {
  Platform& platform = session.platform;
  RestorePlan plan;
  const Reply planned = PlanRestore(session.installation, session.UserName(), &plan);
  if (const int status = session.Shown(planned); status != kExitDone) return status;
  if (!plan.current_version.empty()) session.answer.version_before = plan.current_version;
  std::fprintf(session.out, texts::kRestoreVersions, ShownVersion(plan.backup_version).c_str(),
               plan.current_version.empty() ? texts::kUnreadable
                                            : ShownVersion(plan.current_version).c_str());
  std::fflush(session.out);
  if (!session.options.yes) {
    session.answer.reason = "declined";
    if (!Console::HasTerminal()) {
      session.Tell("dayledger-upgrade: restore needs --yes when no terminal can ask");
      return kExitMisused;
    }
    if (!Console::AskYesNo(texts::kRestoreQuestion).value_or(false)) return kExitRefused;
    session.answer.reason.clear();
  }
  // --yes answers the start's question about the other PCs too.
  std::vector<Path> undeleted;
  Reply restored = Restore(session.installation, &plan, &undeleted, session.options.yes);
  if (restored.outcome == Outcome::kAsk) {
    if (!session.notices.Show(restored.said.front())) {
      session.answer.reason = "declined";
      return kExitRefused;
    }
    restored = Restore(session.installation, &plan, &undeleted, true);
  }
  if (const int status = session.Shown(restored); status != kExitDone) return status;
  for (const Path& path : undeleted) {
    std::fprintf(session.out, "%s%s\n", texts::kLogUndeleted, platform.Shown(path).c_str());
  }
  std::fprintf(session.out, "%s%s\n", texts::kKeptAside,
               ShownFolder(platform, plan.aside_dir).c_str());
  std::fprintf(session.out, "%s\n", texts::kRestored);
  return kExitDone;
}

int VerifyCommand(Session& session) {
  const VerifyRequest request{session.UserName(), session.password};
  VerifyReport report;
  const Reply verified = Verify(session.installation, request, &report);
  if (const int status = session.Shown(verified); status != kExitDone) return status;
  session.answer.details = {{"report", VerifyJson(session.platform, report)}};
  if (!session.options.json) std::fputs(VerifySummary(session.platform, report).c_str(), stdout);
  if (report.accounted_for()) return kExitDone;
  session.answer.reason = "not_accounted_for";
  return kExitRefused;
}

// One terminal command: its checks, in order, then its own work.
struct TerminalCommand {
  Command command;
  const char* name;
  std::vector<Check> checks;
  int (*work)(Session&);
};

const TerminalCommand kCommands[] = {
    {Command::kList, "list", {Check::kUserList}, ListCommand},
    {Command::kUpgrade,
     "upgrade",
     {Check::kBackupChoice, Check::kUserList, Check::kKnownUser, Check::kShownProfile,
      Check::kPassword},
     UpgradeCommand},
    {Command::kCheck,
     "check",
     {Check::kNotBusy, Check::kUserList, Check::kKnownUser, Check::kShownProfile, Check::kPassword},
     CheckCommand},
    {Command::kVerify,
     "verify",
     {Check::kNotBusy, Check::kUserList, Check::kKnownUser, Check::kReadProfile, Check::kPassword},
     VerifyCommand},
    {Command::kRestore,
     "restore",
     {Check::kUserList, Check::kKnownUser, Check::kNotBusy},
     RestoreCommand},
};

// The checks that concern the installation, asked once for every user.
bool OfTheInstallation(Check check) {
  return check == Check::kBackupChoice || check == Check::kUserList;
}

// One user's part of the command: the checks about the user, in the
// command's order (all of them for a command of one user), then the work.
int ForUser(Session& session, const TerminalCommand& command, const std::string& name,
            const std::string& listed) {
  session.Begin(name, listed);
  for (const Check check : command.checks) {
    if (session.options.all && OfTheInstallation(check)) continue;
    if (const int status = Checked(session, check); status != kExitDone) {
      return session.End(status);
    }
  }
  return session.End(command.work(session));
}

// A run over every user ends 0 when each is done or was at the latest
// version already, 3 when any stopped, and 1 otherwise.
int AllEnded(const nlohmann::ordered_json& users) {
  int status = kExitDone;
  for (const auto& user : users) {
    if (user["outcome"] == "stopped") return kExitStopped;
    if (user["outcome"] != "done" && user["reason"] != "already_latest") status = kExitRefused;
  }
  return status;
}

int Commanded(Session& session, const TerminalCommand& command) {
  const Options& options = session.options;
  if (command.command == Command::kList) {
    if (const int status = Checked(session, Check::kUserList); status != kExitDone) return status;
    return command.work(session);
  }
  // For one user, the installation's checks come in the command's order with the user's.
  if (!options.all) return ForUser(session, command, options.user, Utf8ToCp949Text(options.user));
  for (const Check check : command.checks) {
    if (!OfTheInstallation(check)) continue;
    if (const int status = Checked(session, check); status != kExitDone) return status;
  }
  const std::vector<std::string> names = session.tool.users();
  for (size_t row = 0; row < names.size(); ++row) {
    ForUser(session, command, names[row], session.tool.NameAt(static_cast<int>(row)));
  }
  return AllEnded(session.answers);
}

}  // namespace

int RunCommand(OpenedInstallation& opened, Console& console, const Options& options) {
  // What opening the installation finished or undid comes before anything else.
  for (const Said& note : opened.notes) {
    std::fprintf(stderr, "%s\n", Worded(*opened.view, note).text.c_str());
  }
  for (const TerminalCommand& command : kCommands) {
    if (command.command != options.command) continue;
    const auto answered = [&](int status, const nlohmann::ordered_json& answers) {
      if (options.json) {
        std::fputs(
            Document(command.name, opened.view->Shown(opened.folder), status, answers).c_str(),
            stdout);
      }
      return status;
    };
    // What an interrupted change left that could not be finished stops
    // every command before it begins; its notes are told already.
    if (!opened.installation.ok()) return answered(kExitStopped, nlohmann::ordered_json::array());
    Session session(*opened.installation, console, options);
    return answered(Commanded(session, command), session.answers);
  }
  return kExitMisused;
}

}  // namespace dayledger::cli
