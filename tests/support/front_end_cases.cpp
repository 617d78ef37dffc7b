// The shared front-end cases: refusals, a stop, and whole runs.
#include "support/front_end_cases.h"

#include <algorithm>
#include <filesystem>

#include "support/expected_log.h"
#include "texts/texts.h"

namespace dayledger::testing {

std::vector<FrontEndCase> FrontEndCases() {
  const std::string done = std::string("64:") + texts::kUpgradeDone;
  const std::string question = std::string("36:") + texts::kSkipBackupQuestion;
  std::vector<std::string> skipped = ExpectedRunLog("10200");
  skipped[2] = "데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.";
  // A timetable of one line stops the last schedule step at the timetables,
  // after the merge and the group information, before the groups' line.
  std::vector<std::string> stopped = ExpectedRunLog("10200");
  stopped.erase(std::find(stopped.begin(), stopped.end(), " - 그룹 데이터 업그레이드 완료."),
                stopped.end());
  return {
      {"already at 1.03",
       {"u", "10300"},
       "",
       "",
       "",
       false,
       CaseEnd::kRefused,
       {std::string("64:") + texts::kAlreadyLatest},
       {}},
      {"wrong password",
       {"u", "10100", "pw"},
       "",
       "",
       "nope",
       false,
       CaseEnd::kRefused,
       {std::string("16:") + texts::kWrongPassword},
       {}},
      {"unknown version",
       {"u", "10100"},
       "users/u/profile.qbd",
       "#profile data#\r\n10150\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n0\r\n",
       "",
       false,
       CaseEnd::kRefused,
       {std::string("64:") + texts::kUnsupportedVersion},
       {}},
      {"broken timetable",
       {"u", "10200", "", 1, 1, 1},
       "users/u/timetables/timetable1.qbd",
       "one line\r\n",
       "",
       false,
       CaseEnd::kStopped,
       {"16:List index out of bounds (1)"},
       stopped},
      {"backup skipped",
       {"u", "10200", "", 1, 1, 1},
       "",
       "",
       "",
       true,
       CaseEnd::kDone,
       {question, done},
       skipped},
      {"encrypted 1.00",
       {"u", "10000", "pw", 1, 1, 1},
       "",
       "",
       "pw",
       false,
       CaseEnd::kDone,
       {done},
       ExpectedRunLog("10000")},
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
