// The record each run keeps beside the user's backup: what it holds, how
// many are kept, and a run whose record cannot be written.
#include "floor/run_record.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "dayledger_version.h"
#include "support/upgrade_fixture.h"
#include "texts/texts.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::UserSpec;

class RunRecordTest : public testing::UpgradeFixture {
 protected:
  std::vector<std::string> Records(const std::string& user = "u") const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(NativeOf("upgrade_backup/.dlu/logs/" + user))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(RunRecordTest, HoldsTheHeadEveryLogLineAndTheEnd) {
  AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
  ASSERT_EQ(Upgrade("u"), Outcome::kDone);
  ASSERT_EQ(Records(), std::vector<std::string>{"20261207-140509.txt"});
  const std::string record = Read("upgrade_backup/.dlu/logs/u/20261207-140509.txt");
  ASSERT_EQ(record.rfind("\xEF\xBB\xBF", 0), 0u) << "a byte-order mark for Notepad";
  for (size_t at = record.find('\n'); at != std::string::npos; at = record.find('\n', at + 1)) {
    ASSERT_EQ(record[at - 1], '\r') << "CR LF at " << at;
  }
  const std::string head =
      std::string("\xEF\xBB\xBF") +
      "Dayledger 사용자 정보 업그레이드 " DAYLEDGER_TOOL_VERSION " (v 1.03.00)\r\n시스템 : " +
      platform.SystemVersion() + "\r\n설치 폴더 : " + builder.AppDir().Normal().text() +
      "\r\n사용자 : u\r\n작업 : 업그레이드\r\n";
  EXPECT_EQ(record.substr(0, head.size()), head);
  std::string lines;
  for (const std::string& line : port.log) lines += line + "\r\n";
  EXPECT_EQ(record.substr(head.size()), lines + "[14:05:09]결과 : 완료 (종료 코드 0)\r\n");
}

// Written as the run goes: a run killed after its backup leaves a record
// that holds every line so far, the one run whose record matters most.
TEST_F(RunRecordTest, ARunCutShortLeavesItsLinesSoFar) {
  AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
  Select("u");
  flow().StartClicked();
  flow().BackupTick();
  std::string lines;
  for (const std::string& line : port.log) lines += line + "\r\n";
  const std::string record = Read("upgrade_backup/.dlu/logs/u/20261207-140509.txt");
  EXPECT_EQ(record.substr(record.size() - lines.size()), lines);
  EXPECT_NE(lines.find("기존 파일들 백업 완료."), std::string::npos);
}

TEST_F(RunRecordTest, KeepsTheNewestTwentyAndNumbersASecondRunInOneSecond) {
  AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
  fs::create_directories(NativeOf("upgrade_backup"));  // as the user's lock makes it
  for (int run = 0; run < 23; ++run) {
    platform.now.minute = run / 2;  // two runs in each minute's same second
    RunRecord::Begin(installation, "u", "test");
  }
  const std::vector<std::string> kept = Records();
  ASSERT_EQ(kept.size(), kRecordsKept);
  // The oldest three went: 14:00:09, its second, and 14:01:09.
  EXPECT_EQ(kept.front(), "20261207-140109-2.txt");
  EXPECT_EQ(kept.back(), "20261207-141109.txt");
}

TEST_F(RunRecordTest, ARecordThatCannotBeWrittenNeverStopsARun) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}, UserSpec{"v", "10200", "", 1, 1, 1},
            UserSpec{"w", "10200", "", 1, 1, 1}});
  // A name the system cannot look at may be a record's: the next is taken.
  platform.unlookable_path = NativeOf("upgrade_backup/.dlu/logs/w/20261207-140509.txt");
  EXPECT_EQ(Upgrade("w"), Outcome::kDone);
  platform.unlookable_path.clear();
  EXPECT_NE(Read("upgrade_backup/.dlu/logs/w/20261207-140509-2.txt").find("결과 : 완료"),
            std::string::npos);
  Write("upgrade_backup/.dlu/logs/u", "a file where the records' folder goes");
  Write("upgrade_backup/.dlu/logs/v", "a file where the records' folder goes");
  EXPECT_EQ(Upgrade("u"), Outcome::kDone);
  fs::remove(NativeOf("users/v/group.qbd"));
  EXPECT_EQ(Upgrade("v"), Outcome::kStopped);
  EXPECT_EQ(Messages().back(), "error:Cannot open file " + builder.AppDir().text() +
                                   "\\users\\v\\group.qbd." + testing::ReasonShown(ENOENT) +
                                   texts::kRecordNotKept + builder.AppDir().Normal().text() +
                                   "\\upgrade_backup\\.dlu\\logs\\v\\20261207-140509.txt");
}

}  // namespace
}  // namespace dayledger
