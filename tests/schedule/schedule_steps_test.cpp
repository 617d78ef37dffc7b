// The schedule steps: stamps, the repeating schedule and the merge.
#include "schedule/schedule_steps.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "commit/overlay_platform.h"
#include "platform/framework_error.h"
#include "schedule/group_data.h"
#include "schedule/schedule_file.h"
#include "schedule/unlocked_user.h"
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

constexpr char kPassword[] = "dayledger";

class ScheduleStepsTest : public testing::UpgradeFixture {
 protected:
  // Deciphers (when encrypted) a schedule file of user u.
  Lines ScheduleLines(const std::string& name, bool encrypted) {
    const std::string bytes = Read("users/u/schedules/" + name);
    return DecodeScheduleBytes(bytes, encrypted,
                               MakeScheduleKey(InstallationBuilder::DataKeyFor(kPassword)));
  }
  std::string FirstLineAfterHeader(const std::string& relative) {
    return SplitLines(Read(relative)).at(1);
  }
  // A stage context on user u, unlocked with the password as the start
  // checks unlock it and handed to the steps as the driver does.
  StageContext Context(bool encrypted) {
    const Path folder = UserFolder(builder.AppDir(), "u");
    user = *UnlockedUser::Unlock(Profile::Read(platform, folder), "u", folder, kPassword);
    EXPECT_EQ(user.encrypted(), encrypted);
    return StageContext{platform, builder.AppDir(), user, notes()};
  }
  UnlockedUser user;
};

struct ChainCase {
  std::string version;
  bool encrypted;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
  *os << "from " << c.version << (c.encrypted ? " encrypted" : " plain");
}

class ScheduleChainTest : public ScheduleStepsTest,
                          public ::testing::WithParamInterface<ChainCase> {};

TEST_P(ScheduleChainTest, RealDriverStampsThenMergesEveryMonth) {
  const auto [version, encrypted] = GetParam();
  AddUsers({UserSpec{"u", version, encrypted ? kPassword : "", 3, 2, 2}});
  Write("users/u/schedules/197912.qbsd", "outside\r\n");
  Write("users/u/schedules/203001.qbsd", "outside too\r\n");
  const std::string old_repeat = version == "10200" ? Read("users/u/schedules/repeat.qbsd") : "";

  ASSERT_EQ(Upgrade("u", encrypted ? kPassword : ""), Outcome::kDone)
      << ::testing::PrintToString(Messages());

  // The merged file: head, the total, every entry byte for byte in month order.
  Lines expected = {"#schedule data#", "10300", std::to_string(600 * 3)};
  for (int year = 1980; year <= 2029; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const Lines monthly = SplitLines(InstallationBuilder::MonthlyFile(year, month, version, 3));
      expected.insert(expected.end(), monthly.begin() + 3, monthly.end());
      EXPECT_FALSE(fs::exists(NativeOf("users/u/schedules/" + SchClass::FileName(year, month))));
    }
  }
  EXPECT_EQ(ScheduleLines("schedules.qbsd", encrypted), expected);
  if (!encrypted) {
    EXPECT_EQ(Read("users/u/schedules/schedules.qbsd"), JoinLines(expected));
  }

  // The 1.01 and 1.02 stamps of the months stay in memory: no month is
  // written to the disk, whatever the starting version.
  std::vector<std::string> month_writes;
  for (const std::string& path : platform.written) {
    if (path.find("/users/u/schedules/19") != std::string::npos ||
        path.find("/users/u/schedules/20") != std::string::npos) {
      month_writes.push_back(path.substr(path.size() - 11));
    }
  }
  EXPECT_EQ(month_writes, std::vector<std::string>{});

  // The repeating file is made from the template at the step to 1.02 only.
  if (version == "10200") {
    EXPECT_EQ(Read("users/u/schedules/repeat.qbsd"), old_repeat);
  } else {
    EXPECT_EQ(ScheduleLines("repeat.qbsd", encrypted),
              SplitLines(InstallationBuilder::RepeatTemplate()));
  }
  EXPECT_EQ(Read("users/u/schedules/197912.qbsd"), "outside\r\n");
  EXPECT_EQ(Read("users/u/schedules/203001.qbsd"), "outside too\r\n");

  for (const char* file :
       {"users/u/group.qbd", "users/u/groups/group1.qbd", "users/u/groups/group2.qbd",
        "users/u/timetables/timetable1.qbd", "users/u/timetables/timetable2.qbd"}) {
    EXPECT_EQ(FirstLineAfterHeader(file), "10300") << file;
  }
  const Lines log = LogTexts();
  const Lines schedule_log = testing::ExpectedScheduleLog(version);
  ASSERT_GE(log.size(), 3 + schedule_log.size());
  EXPECT_EQ(Lines(log.begin() + 3, log.begin() + 3 + static_cast<long>(schedule_log.size())),
            schedule_log);
}

INSTANTIATE_TEST_SUITE_P(AllStartingVersions, ScheduleChainTest,
                         ::testing::Values(ChainCase{"10000", false}, ChainCase{"10000", true},
                                           ChainCase{"10100", false}, ChainCase{"10100", true},
                                           ChainCase{"10200", false}, ChainCase{"10200", true}),
                         [](const auto& info) {
                           return "from" + info.param.version +
                                  (info.param.encrypted ? "_encrypted" : "_plain");
                         });

TEST_F(ScheduleStepsTest, StampKeepsEachFileInItsFormAndOtherLinesByteForByte) {
  for (bool encrypted : {false, true}) {
    AddUsers({UserSpec{"u", "10000", encrypted ? kPassword : "", 2, 0, 0}});
    Write("users/u/schedules/199912.qbsd",
          encrypted
              ? EncodeScheduleLines(LineList(Lines{"h", "10000", "1", "x\ny"}), true,
                                    MakeScheduleKey(InstallationBuilder::DataKeyFor(kPassword)))
              : "h\n10000\r1\r\nx");
    const StageContext ctx = Context(encrypted);
    StampMonthlySchedules(ctx, "10100");
    EXPECT_EQ(ScheduleLines("199912.qbsd", encrypted),
              encrypted ? (Lines{"h", "10100", "1", "x\ny"}) : (Lines{"h", "10100", "1", "x"}));
    const Lines january = ScheduleLines("198001.qbsd", encrypted);
    Lines expected = SplitLines(InstallationBuilder::MonthlyFile(1980, 1, "10000", 2));
    expected[1] = "10100";
    EXPECT_EQ(january, expected);
  }
}

TEST_F(ScheduleStepsTest, MissingMonthStopsTheMergeWithEveryMonthKept) {
  AddUsers({UserSpec{"u", "10200", kPassword, 1, 1, 1}});
  fs::remove(NativeOf("users/u/schedules/200306.qbsd"));
  ASSERT_EQ(Upgrade("u", kPassword), Outcome::kStopped);
  EXPECT_EQ(Messages().back(), "error:Cannot open file " + builder.AppDir().text() +
                                   "\\users\\u\\schedules\\200306.qbsd." +
                                   testing::ReasonShown(ENOENT) + RecordNamed());
  int months = 0;
  for (const auto& entry : fs::directory_iterator(NativeOf("users/u/schedules"))) {
    const std::string name = entry.path().filename().string();
    EXPECT_NE(name, "schedules.qbsd");
    EXPECT_EQ(name.rfind(".dlu-", 0), std::string::npos) << "no temporary is left";
    months += name != "repeat.qbsd";
  }
  EXPECT_EQ(months, 599);
  const Lines log = LogTexts();
  EXPECT_EQ(log.back(), " - 2002년 일정 데이터 로드 완료.");
  EXPECT_EQ(FirstLineAfterHeader("users/u/profile.qbd"), "10200");
  EXPECT_FALSE(port.input_enabled);
}

TEST_F(ScheduleStepsTest, FailedMergedWriteDeletesNoMonth) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  platform.fail_writes_in_folder = NativeOf("users/u/schedules");
  ASSERT_EQ(Upgrade("u"), Outcome::kStopped);
  // The staging of the merged file fails: the message names it, the
  // system's reason and the run's record.
  EXPECT_EQ(Messages().back(), "error:Stream write error." +
                                   testing::FileShown(builder.AppDir().text() +
                                                      "users\\u\\schedules\\schedules.qbsd") +
                                   testing::ReasonShown(EIO) + RecordNamed());
  EXPECT_TRUE(fs::exists(NativeOf("users/u/schedules/198001.qbsd")));
  EXPECT_TRUE(fs::exists(NativeOf("users/u/schedules/202912.qbsd")));
  EXPECT_FALSE(fs::exists(NativeOf("users/u/schedules/schedules.qbsd")));
  EXPECT_EQ(SplitLines(Read("users/u/group.qbd")).at(1), "10200") << "nothing else either";
  for (const auto& entry : fs::recursive_directory_iterator(NativeOf("users/u"))) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == kLockName || name.rfind(".dlu-", 0) == std::string::npos) << entry.path();
  }
}

TEST_F(ScheduleStepsTest, MergeFailuresCarryTheFrameworkTexts) {
  const struct {
    std::string content;
    std::string message;
  } cases[] = {
      {"h\r\n10200\r\n", "List index out of bounds (0)"},
      {"h\r\n10200\r\nthree\r\n", "'three' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    AddUsers({UserSpec{"u", "10200", "", 1, 0, 0}});
    Write("users/u/schedules/199001.qbsd", c.content);
    // On the staged view, as the driver hands it to the steps: a failure
    // part-way leaves every month on the disk.
    OverlayPlatform staged(&platform);
    const StageContext on_disk = Context(false);
    const StageContext ctx{staged, on_disk.app_dir, on_disk.user, on_disk.observer};
    try {
      MergeMonthlySchedules(ctx, "10300");
      ADD_FAILURE() << c.message;
    } catch (const FrameworkError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_TRUE(fs::exists(NativeOf("users/u/schedules/198001.qbsd")));
  }
}

TEST_F(ScheduleStepsTest, AnOlderRepeatFileIsReplacedByTheTemplateEncipheredOnce) {
  for (const std::string version : {"10000", "10100"}) {
    AddUsers({UserSpec{"u", version, kPassword, 1, 0, 0}});
    const ScheduleKey key = MakeScheduleKey(InstallationBuilder::DataKeyFor(kPassword));
    Write("users/u/schedules/repeat.qbsd",
          Encipher("#schedule data#\r\n10000\r\n1\r\nold\r\n", key));
    ASSERT_EQ(Upgrade("u", kPassword), Outcome::kDone) << version;
    EXPECT_EQ(ScheduleLines("repeat.qbsd", true), SplitLines(InstallationBuilder::RepeatTemplate()))
        << version;
    fs::remove_all(NativeOf("users/u"));
  }
}

TEST_F(ScheduleStepsTest, MergeAddsCountsNotLines) {
  AddUsers({UserSpec{"u", "10200", "", 0, 0, 0}});
  Write("users/u/schedules/199912.qbsd", "h\r\n10200\r\n3\r\na\r\nb\r\nc\r\nd\r\ne\r\n");
  Write("users/u/schedules/200001.qbsd", "h\r\n10200\r\n-1\r\nz\r\n");
  MergeMonthlySchedules(Context(false), "10300");
  EXPECT_EQ(ScheduleLines("schedules.qbsd", false),
            (Lines{"#schedule data#", "10300", "2", "a", "b", "c", "d", "e", "z"}));

  // The stored total is a signed 32-bit sum: past 2^31 - 1 it wraps.
  AddUsers({UserSpec{"u", "10200", "", 0, 0, 0}});  // the months again
  Write("users/u/schedules/199912.qbsd", "h\r\n10200\r\n2147483647\r\n");
  Write("users/u/schedules/200001.qbsd", "h\r\n10200\r\n2\r\n");
  MergeMonthlySchedules(Context(false), "10300");
  EXPECT_EQ(ScheduleLines("schedules.qbsd", false).at(2), "-2147483647");
}

TEST_F(ScheduleStepsTest, GroupFileFailures) {
  AddUsers({UserSpec{"u", "10100", "", 0, 2, 1}});
  Write("users/u/groups/group2.qbd", "one line\r\n");
  const StageContext ctx = Context(false);
  try {
    UpgradeGroupData(ctx, "10200");
    ADD_FAILURE();
  } catch (const FrameworkError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_EQ(FirstLineAfterHeader("users/u/groups/group1.qbd"), "10200");
  EXPECT_EQ(Read("users/u/groups/group2.qbd"), "one line\r\n");
  EXPECT_EQ(FirstLineAfterHeader("users/u/timetables/timetable1.qbd"), "10100");

  fs::remove_all(NativeOf("users/u/groups"));
  try {
    UpgradeGroupData(ctx, "10300");
    ADD_FAILURE();
  } catch (const FrameworkError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open folder " + builder.AppDir().text() + "\\users\\u\\groups");
  }
  EXPECT_EQ(FirstLineAfterHeader("users/u/timetables/timetable1.qbd"), "10100");
}

TEST_F(ScheduleStepsTest, GroupFilesStayPlainAndGainCrLf) {
  AddUsers({UserSpec{"u", "10100", kPassword, 0, 0, 0}});
  Write("users/u/groups/.hidden.qbd", "h\n10100\n");
  Write("users/u/groups/a.qbd", "h\n10100\n\nlast");
  Write("users/u/groups/note.txt", "h\n10100\n");
  Write("users/u/groups/sub/inner.qbd", "h\n10100\n");
  UpgradeGroupData(Context(true), "10200");
  EXPECT_EQ(Read("users/u/groups/a.qbd"), "h\r\n10200\r\n\r\nlast\r\n");
  for (const char* untouched :
       {"users/u/groups/.hidden.qbd", "users/u/groups/note.txt", "users/u/groups/sub/inner.qbd"}) {
    EXPECT_EQ(Read(untouched), "h\n10100\n") << untouched;
  }
}

TEST_F(ScheduleStepsTest, FailedTemplateCopyStopsBeforeTheUsersFiles) {
  AddUsers({UserSpec{"u", "10100", kPassword, 1, 1, 1}});
  const std::string old_repeat = "already enciphered once";
  Write("users/u/schedules/repeat.qbsd", old_repeat);
  platform.fail_read_path = NativeOf("data/userscommon/repeat.qbsd");
  ASSERT_EQ(Upgrade("u", kPassword), Outcome::kStopped);
  EXPECT_EQ(Messages().back(), "error:Cannot open file " + builder.AppDir().text() +
                                   "\\data\\userscommon\\repeat.qbsd." + testing::ReasonShown(EIO) +
                                   RecordNamed());
  EXPECT_EQ(Read("users/u/schedules/repeat.qbsd"), old_repeat);
  EXPECT_EQ(ScheduleLines("198001.qbsd", true).at(1), "10100");
}

}  // namespace
}  // namespace dayledger
