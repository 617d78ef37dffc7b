// The anniversary steps through the real driver: copies, stamps, failures.
#include "anniversary/anniversary_stage.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp949_codec.h"
#include "schedule/schedule_file.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "support/expected_log.h"
#include "support/upgrade_fixture.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::InstallationBuilder;
using demo::UserSpec;
using Lines = std::vector<std::string>;

class AnniversaryStageTest : public testing::UpgradeFixture {
 protected:
  std::string AnniversaryFile(const std::string& name) {
    return Read("users/u/anniversary/" + name);
  }
  // The anniversary part of the log: from its first line to its last.
  Lines AnniversaryLog() {
    const Lines log = LogTexts();
    const auto first = std::find(log.begin(), log.end(), "기념일 데이터 업그레이드를 시작합니다.");
    const auto last = std::find(log.begin(), log.end(), "기념일 데이터 업그레이드 전체 완료.");
    return last == log.end() ? Lines(first, log.end()) : Lines(first, last + 1);
  }
};

TEST_F(AnniversaryStageTest, UserAt100GetsTheTemplatesStamped) {
  AddUsers({UserSpec{"u", "10000", "", 0, 0, 0}});
  ASSERT_EQ(Upgrade("u"), Outcome::kDone);
  EXPECT_EQ(AnniversaryLog(), testing::ExpectedAnniversaryLog("10000"));
  EXPECT_EQ(AnniversaryLog().size(), 10u);
  for (const std::string& name : kAnniversaryCopyOrder) {
    Lines expected = SplitLines(InstallationBuilder::AnniversaryTemplate(name));
    expected[1] = "10300";
    EXPECT_EQ(AnniversaryFile(name), JoinLines(expected)) << name;
  }
}

TEST_F(AnniversaryStageTest, UserAt100WithAnOldFolderGetsItReplaced) {
  AddUsers({UserSpec{"u", "10000", "", 0, 0, 0}});
  for (const std::string& name : kAnniversaryCopyOrder) {
    Write("users/u/anniversary/" + name, "stale\r\n10300\r\nold entry\r\n");
  }
  ASSERT_EQ(Upgrade("u"), Outcome::kDone);
  for (const std::string& name : kAnniversaryCopyOrder) {
    EXPECT_EQ(SplitLines(AnniversaryFile(name)).at(0), "#anniversary data#") << name;
    EXPECT_EQ(AnniversaryFile(name).find("old entry"), std::string::npos);
  }
}

TEST_F(AnniversaryStageTest, TemplatesAreCopiedAndFilesRewrittenInTheirOrders) {
  AddUsers({UserSpec{"u", "10000", "", 0, 0, 0}});
  const UnlockedUser user("u", UserFolder(builder.AppDir(), "u"));
  const StageContext ctx{platform, builder.AppDir(), user, notes()};
  auto written_since = [&](size_t mark) {
    Lines names;
    for (size_t i = mark; i < platform.written.size(); ++i) {
      names.push_back(fs::path(platform.written[i]).filename().string());
    }
    return names;
  };
  size_t mark = platform.written.size();
  CopyAnniversaryTemplates(ctx);
  EXPECT_EQ(written_since(mark), (Lines{"anniversary_holiday.qbd", "anniversary_24term.qbd",
                                        "anniversary_celebrate.qbd", "anniversary_user.qbd"}));
  mark = platform.written.size();
  StampAnniversaryFiles(ctx, "10200");
  EXPECT_EQ(written_since(mark), (Lines{"anniversary_24term.qbd", "anniversary_celebrate.qbd",
                                        "anniversary_holiday.qbd", "anniversary_user.qbd"}));
}

TEST_F(AnniversaryStageTest, UsersAt101And102OnlyRewrite) {
  for (const std::string version : {"10100", "10200"}) {
    AddUsers({UserSpec{"u", version, "secret", 0, 0, 0}});
    const size_t writes_before = platform.written.size();
    Write("users/u/anniversary/anniversary_user.qbd", "h\n" + version + "\n\nmine");
    ASSERT_EQ(Upgrade("u", "secret"), Outcome::kDone) << version;
    EXPECT_EQ(AnniversaryLog(), testing::ExpectedAnniversaryLog(version));
    EXPECT_EQ(AnniversaryFile("anniversary_user.qbd"), "h\r\n10300\r\n\r\nmine\r\n");
    EXPECT_EQ(AnniversaryFile("anniversary_24term.qbd"),
              "#anniversary data#\r\n10300\r\n1\r\n" + Utf8ToCp949Text("사용자 기념일") + "\r\n");
    int rewrites = 0;
    for (size_t i = writes_before; i < platform.written.size(); ++i) {
      rewrites +=
          platform.written[i].find("/users/u/anniversary/anniversary_") != std::string::npos;
    }
    EXPECT_EQ(rewrites, 4) << "each file reaches the disk once, nothing copied";
    port.log.clear();
    fs::remove_all(NativeOf("users/u"));
  }
}

TEST_F(AnniversaryStageTest, OneLineFileStopsTheUpgrade) {
  AddUsers({UserSpec{"u", "10100", "", 0, 0, 0}});
  Write("users/u/anniversary/anniversary_celebrate.qbd", "only\r\n");
  ASSERT_EQ(Upgrade("u"), Outcome::kStopped);
  EXPECT_EQ(Messages().back(),
            "error:List index out of bounds (1)" +
                testing::FileShown(builder.AppDir().text() +
                                   "\\users\\u\\anniversary\\anniversary_celebrate.qbd") +
                RecordNamed());
  EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "10100");
  // The files stamped before the failure stay as they were on the disk.
  EXPECT_EQ(SplitLines(AnniversaryFile("anniversary_24term.qbd")).at(1), "10100");
  EXPECT_EQ(AnniversaryFile("anniversary_celebrate.qbd"), "only\r\n");
  EXPECT_FALSE(port.input_enabled);
}

// A template that cannot be read, or is not there at all, stops the run
// before the user's older file could be stamped as if it had arrived.
TEST_F(AnniversaryStageTest, FailedTemplateCopyTouchesNoUserFile) {
  const std::string name = "data/userscommon/anniversary_24term.qbd";
  for (const bool missing : {false, true}) {
    AddUsers({UserSpec{"u", "10000", "", 0, 0, 0}});
    Write("users/u/anniversary/anniversary_24term.qbd", "mine\r\n10000\r\n");
    platform.fail_read_path = missing ? "" : NativeOf(name);
    if (missing) fs::remove(NativeOf(name));
    ResetFlow();
    ASSERT_EQ(Upgrade("u"), Outcome::kStopped) << missing;
    EXPECT_EQ(Messages().back(), "error:Cannot open file " + builder.AppDir().text() +
                                     "\\data\\userscommon\\anniversary_24term.qbd." +
                                     testing::ReasonShown(missing ? ENOENT : EIO) + RecordNamed());
    EXPECT_EQ(AnniversaryFile("anniversary_24term.qbd"), "mine\r\n10000\r\n");
    EXPECT_FALSE(fs::exists(NativeOf("users/u/anniversary/anniversary_celebrate.qbd")));
    fs::remove_all(NativeOf("users/u"));
    fs::remove_all(NativeOf("upgrade_backup"));
  }
}

TEST_F(AnniversaryStageTest, WholeRunLogAndEveryFileAtTheTarget) {
  for (const std::string version : {"10000", "10100", "10200"}) {
    for (const std::string password : {"", "비밀"}) {
      AddUsers({UserSpec{"u", version, password, 1, 1, 1}});
      port.log.clear();
      ASSERT_EQ(Upgrade("u", password), Outcome::kDone) << version << password;
      EXPECT_EQ(LogTexts(), testing::ExpectedRunLog(version)) << version << password;
      EXPECT_EQ(port.version_label, "v 1.03.00");
      for (const auto& entry : fs::recursive_directory_iterator(NativeOf("users/u"))) {
        if (!entry.is_regular_file()) continue;
        std::string bytes = InstallationBuilder::ReadNative(entry.path().string());
        if (!password.empty() && entry.path().extension() == ".qbsd") {
          bytes = Decipher(bytes, MakeScheduleKey(InstallationBuilder::DataKeyFor(password)));
        }
        const std::string name = entry.path().filename().string();
        if (name == "repeat.qbsd") continue;  // the template's own version line
        if (name == kLockName) continue;      // the tool's, not data
        EXPECT_EQ(SplitLines(bytes).at(1), "10300") << entry.path();
      }
      fs::remove_all(NativeOf("users/u"));
    }
  }
}

}  // namespace
}  // namespace dayledger
