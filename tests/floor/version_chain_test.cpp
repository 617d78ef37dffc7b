// A chain with a step of its own past 1.03 that changes only the version
// line: the upgrade walks it to its end from every version, and verify and
// the space check follow it.
#include <gtest/gtest.h>

#include <filesystem>

#include "anniversary/anniversary_stage.h"
#include "demo/installation_builder.h"
#include "floor/version_steps.h"
#include "platform/framework_error.h"
#include "schedule/group_data.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "state/version_code.h"
#include "support/headless_view.h"
#include "support/opened_installation.h"
#include "support/test_platform.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"
#include "verify/verify.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::InstallationBuilder;
using demo::UserSpec;

void StampSchedulesTo104(const StageContext& ctx, const std::string& code) {
  const Path path = MergedSchedulePath(ctx.user.folder());
  std::string bytes;
  ThrowIfFailed(ctx.platform.ReadFile(path, &bytes));
  LineList lines(ctx.user.Decode(bytes));
  lines.Replace(1, code);
  WriteFileOrThrow(ctx.platform, path, ctx.user.Encode(lines));
  UpgradeGroupData(ctx, code);
}

VersionChain ChainTo104() {
  std::vector<VersionStep> steps = VersionChain::Standard().steps();
  steps.push_back({"10300", "10400", StampSchedulesTo104, StampAnniversaryFiles});
  return VersionChain(std::move(steps));
}

TEST(VersionChainTest, AnExtraStepIsWalkedToItsEndAndVerifyFollowsIt) {
  const VersionChain chain = ChainTo104();
  EXPECT_EQ(chain.target(), "10400");
  // Whose monthly files the run merges, which the space check counts as one
  // file: only data from before the merging step.
  for (const auto& [from, merges] : {std::pair{"10000", true},
                                     {"10200", true},
                                     {"10300", false},
                                     {"10400", false},
                                     {"10250", false}}) {
    EXPECT_EQ(chain.MergesMonthsFrom(from), merges) << from;
  }
  for (const std::string version : {"10000", "10200", "10300"}) {
    testing::TestPlatform platform;
    InstallationBuilder builder(platform.temp_dir() + "/app");
    builder.WriteTemplates();
    builder.WriteUser(UserSpec{"u", version, "pw", 2, 1, 1});
    builder.WriteUserList({"u"});
    Installation installation = testing::OpenedOn(platform, builder.AppDir());
    testing::HeadlessView view;
    UpgradeTool tool(installation, view, chain);
    tool.LoadUsers();
    tool.ShowUser("u");
    BoxedNotices notices(installation.platform(), platform);
    ASSERT_EQ(RunUpgrade(tool, {"u", "pw"}, notices).outcome, Outcome::kDone)
        << version << ": " << platform.MessageLines().back();
    // Both stages take the step, after the tool's own step to 1.03 where it is due.
    std::string log;
    for (const std::string& line : view.log) log += line + "\n";
    for (const std::string data : {texts::kScheduleData, texts::kAnniversaryData}) {
      const size_t step = log.find(texts::LogStepStarting(data, "v 1.04.00"));
      EXPECT_NE(step, std::string::npos) << version << " " << data;
      EXPECT_EQ(log.find(texts::LogStepStarting(data, "v 1.03.00")) < step, version != "10300")
          << version;
    }
    const UnlockedUser& user = tool.user();
    for (const auto& entry : fs::recursive_directory_iterator(builder.UserDir("u"))) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name == "repeat.qbsd") continue;
      std::string bytes = InstallationBuilder::ReadNative(entry.path().string());
      const std::vector<std::string> lines =
          entry.path().extension() == ".qbsd" ? user.Decode(bytes) : SplitLines(bytes);
      EXPECT_EQ(lines.at(1), "10400") << version << ": " << name;
    }
    VerifyReport report;
    ASSERT_EQ(Verify(installation, {"u", "pw"}, &report, chain).outcome, Outcome::kDone) << version;
    EXPECT_TRUE(report.accounted_for()) << version;
    EXPECT_EQ(report.backup_entries, report.current_entries) << version;
    // Its words name the table's target: a backup at 1.04 is not older.
    const std::string backup = builder.root() + "/upgrade_backup/u/profile.qbd";
    std::vector<std::string> lines = SplitLines(InstallationBuilder::ReadNative(backup));
    lines.at(1) = "10400";
    InstallationBuilder::WriteNative(backup, JoinLines(lines));
    const Reply said = Verify(installation, {"u", "pw"}, &report, chain);
    EXPECT_EQ(said.reason(), Say::kBackupNotOlder) << version;
    EXPECT_EQ(said.said.back().items, std::vector<std::string>{"v 1.04.00"}) << version;
  }
}

// What the build writes from the table for the package's read-me and the
// scripts names the version the tool's own chain leads to.
TEST(VersionTableTest, TheBuildReadsTheTablesTarget) {
  const std::string generated = DAYLEDGER_GENERATED_DIR;
  const std::string code = VersionChain::Standard().target();
  const std::string shown = ShortVersion(code);
  EXPECT_EQ(InstallationBuilder::ReadNative(generated + "/data_version.txt"),
            code + " " + shown + "\n");
  const std::string readme = InstallationBuilder::ReadNative(generated + "/읽어보기.txt");
  EXPECT_EQ(SplitLines(readme).at(0),
            "\xEF\xBB\xBF"
            "Dayledger 사용자 정보 업그레이드 (데이터 버전 " +
                shown + ")");
}

}  // namespace
}  // namespace dayledger
