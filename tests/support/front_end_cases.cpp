// The shared front-end cases: refusals, a stop, and whole runs.
#include "support/front_end_cases.h"

#include <algorithm>
#include <filesystem>

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
       .messages = {std::string("error:") + texts::kBackupFailed},
       .log = {run.begin(), run.begin() + 2}},
      {.name = "broken timetable",
       .user = {"u", "10200", "", 1, 1, 1},
       .planted_file = "users/u/timetables/timetable1.qbd",
       .planted_bytes = "one line\r\n",
       .end = CaseEnd::kStopped,
       .messages = {"error:List index out of bounds (1)"},
       .log = stopped},
      {.name = "backup skipped",
       .user = {"u", "10200", "", 1, 1, 1},
       .skip_backup = true,
       .messages = {question, done},
       .log = skipped},
      {.name = "encrypted 1.00",
       .user = {"u", "10000", "pw", 1, 1, 1},
       .password = "pw",
       .messages = {done},
       .log = ExpectedRunLog("10000")},
  };
}

void Install(demo::InstallationBuilder& builder, const FrontEndCase& c) {
  std::filesystem::remove_all(builder.root() + "/users");
  std::filesystem::remove_all(builder.root() + "/upgrade_backup");
  builder.WriteUser(c.user);
  builder.WriteUserList({c.user.name});
  if (!c.planted_file.empty()) {
    demo::InstallationBuilder::WriteNative(builder.root() + "/" + c.planted_file, c.planted_bytes);
  }
}

}  // namespace dayledger::testing
