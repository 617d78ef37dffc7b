// The shared front-end cases: refusals, a stop, and whole runs.
#include "support/front_end_cases.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "platform/platform.h"
#include "support/expected_log.h"
#include "texts/texts.h"

namespace dayledger::testing {

std::vector<FrontEndCase> FrontEndCases() {
  const std::string done = std::string("information:") + texts::kUpgradeDone;
  const std::string question = std::string("question:") + texts::kSkipBackupQuestion;
  std::vector<std::string> skipped = ExpectedRunLog("10200");
  skipped[2] = "데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.";
  // A timetable of one line stops the last schedule step at the timetables,
  // after the merge and the group information, before the groups' line.
  std::vector<std::string> stopped = ExpectedRunLog("10200");
  stopped.erase(std::find(stopped.begin(), stopped.end(), " - 그룹 데이터 업그레이드 완료."),
                stopped.end());
  const std::vector<std::string> run = ExpectedRunLog("10200");
  return {
      {.name = "already at 1.03",
       .user = {"u", "10300"},
       .end = CaseEnd::kRefused,
       .messages = {std::string("information:") + texts::kAlreadyLatest}},
      {.name = "wrong password",
       .user = {"u", "10100", "pw"},
       .password = "nope",
       .end = CaseEnd::kRefused,
       .messages = {std::string("error:") + texts::kWrongPassword}},
      {.name = "unknown version",
       .user = {"u", "10100"},
       .planted_file = "users/u/profile.qbd",
       .planted_bytes = "#profile data#\r\n10150\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n0\r\n",
       .end = CaseEnd::kRefused,
       .messages = {std::string("information:") + texts::kUnsupportedVersion}},
      // A file where the backup's folder goes: the copy cannot be made, and
      // the run stops after the start checks, before any stage.
      {.name = "backup cannot be made",
       .user = {"u", "10200", "", 1, 1, 1},
       .planted_file = "upgrade_backup/u",
       .planted_bytes = "x",
       .end = CaseEnd::kStopped,
       .messages = {std::string("error:") + texts::kBackupFailed + "\n" + texts::kFileNamed +
                    "{app}upgrade_backup\\u\n" +
                    texts::SystemReasonShown(EEXIST, SystemErrorText(EEXIST)) + "{record}"},
       .log = {run.begin(), run.begin() + 2}},
      {.name = "broken timetable",
       .user = {"u", "10200", "", 1, 1, 1},
       .planted_file = "users/u/timetables/timetable1.qbd",
       .planted_bytes = "one line\r\n",
       .end = CaseEnd::kStopped,
       .messages = {std::string("error:List index out of bounds (1)\n") + texts::kFileNamed +
                    "{app}\\users\\u\\timetables\\timetable1.qbd{record}"},
       .log = stopped},
      {.name = "backup skipped",
       .user = {"u", "10200", "", 1, 1, 1},
       .skip_backup = true,
       .messages = {question, done},
       .log = skipped},
      // The scheduler left running from the installation's folder, a
      // read-only file copied from a CD, and a backup folder that leads
      // elsewhere: each refused before anything, in words that say what to do.
      {.name = "scheduler running",
       .user = {"u", "10200", "", 1, 1, 1},
       .running_program = "Dayledger.exe",
       .end = CaseEnd::kRefused,
       .messages = {std::string("error:") + texts::kProgramRunning + "Dayledger.exe"}},
      {.name = "same name running elsewhere",
       .user = {"u", "10200", "", 1, 1, 1},
       .running_program = "../elsewhere/Dayledger.exe",
       .messages = {done},
       .log = run},
      {.name = "the upgrade's own window open beside",
       .user = {"u", "10200", "", 1, 1, 1},
       .running_program = "dayledger-upgrade-gui",
       .messages = {done},
       .log = run},
      {.name = "read-only profile",
       .user = {"u", "10200", "", 1, 1, 1},
       .read_only_file = "users/u/profile.qbd",
       .end = CaseEnd::kRefused,
       .messages = {std::string("error:") + texts::kReadOnlyFiles + "{app}users\\u\\profile.qbd"}},
      {.name = "read-only month",
       .user = {"u", "10200", "", 1, 1, 1},
       .read_only_file = "users/u/schedules/200001.qbsd",
       .end = CaseEnd::kRefused,
       .messages = {std::string("error:") + texts::kReadOnlyFiles +
                    "{app}users\\u\\schedules\\200001.qbsd"}},
      {.name = "backup folder linked elsewhere",
       .user = {"u", "10200", "", 1, 1, 1},
       .linked_folder = "upgrade_backup",
       .end = CaseEnd::kRefused,
       .messages = {std::string("error:") + texts::kLinkOnTheWay + "{app}upgrade_backup"}},
      {.name = "encrypted 1.00",
       .user = {"u", "10000", "pw", 1, 1, 1},
       .password = "pw",
       .messages = {done},
       .log = ExpectedRunLog("10000")},
  };
}

namespace {

namespace fs = std::filesystem;

// A copy of sleep under the given name, running until it is ended; back
// once the process shows as that program.
std::unique_ptr<RunningProgram> StartProgram(const std::string& path) {
  fs::create_directories(fs::path(path).parent_path());
  fs::copy_file("/bin/sleep", path, fs::copy_options::overwrite_existing);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl(path.c_str(), path.c_str(), "120", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // A failed fork must never reach the kill below with pid -1.
  if (pid < 0) throw std::runtime_error("cannot start " + path);
  auto program = std::make_unique<RunningProgram>(pid);
  const fs::path exe = "/proc/" + std::to_string(pid) + "/exe";
  const std::string started = fs::canonical(path).string();
  for (int i = 0; i < 500; ++i) {
    std::error_code ec;
    if (fs::read_symlink(exe, ec).string() == started) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return program;
}

}  // namespace

RunningProgram::~RunningProgram() {
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

std::unique_ptr<RunningProgram> Install(demo::InstallationBuilder& builder, const FrontEndCase& c) {
  const std::string& root = builder.root();
  fs::remove_all(root + "/users");
  fs::remove_all(root + "/upgrade_backup");
  builder.WriteUser(c.user);
  builder.WriteUserList({c.user.name});
  if (!c.planted_file.empty()) {
    demo::InstallationBuilder::WriteNative(root + "/" + c.planted_file, c.planted_bytes);
  }
  if (!c.read_only_file.empty()) {
    fs::permissions(root + "/" + c.read_only_file,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  if (!c.linked_folder.empty()) {
    const std::string target = root + "/../link-target";
    fs::create_directories(target);
    fs::create_directory_symlink(target, root + "/" + c.linked_folder);
  }
  if (c.running_program.empty()) return nullptr;
  return StartProgram(root + "/" + c.running_program);
}

std::vector<std::string> ExpectedMessages(const FrontEndCase& c,
                                          const demo::InstallationBuilder& builder) {
  // The run's one record, whatever the time it was made.
  std::string record;
  std::error_code ec;
  for (const auto& entry :
       fs::directory_iterator(builder.root() + "/upgrade_backup/.dlu/logs/u", ec)) {
    record = texts::kRecordKeptAt + builder.AppDir().Normal().text() +
             "\\upgrade_backup\\.dlu\\logs\\u\\" + entry.path().filename().string();
  }
  std::vector<std::string> messages = c.messages;
  for (std::string& message : messages) {
    for (const auto& [mark, text] :
         {std::pair<std::string, std::string>{"{app}", builder.AppDir().text()},
          {"{record}", record}}) {
      for (size_t at = message.find(mark); at != std::string::npos; at = message.find(mark)) {
        message.replace(at, mark.size(), text);
      }
    }
  }
  return messages;
}

}  // namespace dayledger::testing
