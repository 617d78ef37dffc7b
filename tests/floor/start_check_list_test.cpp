// The one list of start checks, walked as a list for each command: each row
// refuses (or asks) for the commands it applies to and for no other, and
// where two conditions hold at once the earlier row's reason wins, so that a
// row removed, moved or narrowed fails here. The user's lock, taken after
// them all, is taken even as another program lets go of its own.
#include "floor/start_check_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "check/preflight.h"
#include "support/upgrade_fixture.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::UserSpec;

constexpr unsigned Of(Verb verb) { return 1u << static_cast<unsigned>(verb); }

class StartCheckListTest : public testing::UpgradeFixture {
 protected:
  void SetUp() override { AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}}); }
  // Every condition the rows look for, taken away again.
  void Clear() {
    platform.other_account.reset();
    platform.network_drive = false;
    platform.running_programs.clear();
    fs::remove(NativeOf("upgrade_backup/u"));
    platform.unwritable_folder.clear();
    platform.free_bytes.reset();
  }
};

TEST_F(StartCheckListTest, EachRowRefusesForItsCommandsAndTheEarlierRowsReasonWins) {
  const unsigned every = Of(Verb::kUpgrade) | Of(Verb::kRestore) | Of(Verb::kCheck);
  const unsigned upgrades = Of(Verb::kUpgrade) | Of(Verb::kCheck);
  const struct Row {
    const char* name;
    unsigned verbs;
    std::function<void()> plant;
    Say reason;
    std::vector<std::string> items = {};  // the names it gives, where it gives any
  } rows[] = {
      {"another account",
       every,
       [&] {
         platform.other_account = {true, "admin", "kim"};
       },
       Say::kRunAsOtherAccount,
       {"admin", "kim"}},
      {"a network drive", Of(Verb::kUpgrade) | Of(Verb::kRestore),
       [&] { platform.network_drive = true; }, Say::kOtherPcsQuestion},
      {"the scheduler running",
       every,
       // The tool's own programs are never taken for the scheduler.
       [&] {
         platform.running_programs = {"C:\\app\\dayledger-upgrade.exe",
                                      "C:\\app\\Dayledger-Upgrade-GUI.EXE",
                                      "C:\\app\\Dayledger.exe"};
       },
       Say::kProgramRunning,
       {"Dayledger.exe"}},
      {"a link on the way", every,
       [&] {
         fs::create_directories(NativeOf("upgrade_backup"));
         fs::create_directory_symlink(NativeOf("users"), NativeOf("upgrade_backup/u"));
       },
       Say::kLinkOnTheWay},
      {"an unwritable folder", upgrades, [&] { platform.unwritable_folder = NativeOf("users/u"); },
       Say::kFolderNotWritable},
      {"a full disk", upgrades, [&] { platform.free_bytes = 0; }, Say::kDiskTooFull},
  };
  const auto cleared = [&](Verb verb) {
    UserLock lock;
    return ClearToStart(verb, {installation, "u"}, &lock);
  };
  for (const Verb verb : {Verb::kUpgrade, Verb::kRestore, Verb::kCheck}) {
    const std::string command = std::to_string(static_cast<int>(verb));
    for (const Row& row : rows) {
      Clear();
      row.plant();
      const Reply said = cleared(verb);
      if ((row.verbs & Of(verb)) == 0) {
        EXPECT_EQ(said.outcome, Outcome::kDone) << row.name << ", command " << command;
        continue;
      }
      EXPECT_EQ(said.reason(), row.reason) << row.name << ", command " << command;
      if (!row.items.empty()) {
        EXPECT_EQ(said.said.back().items, row.items) << row.name;
      }
      for (const Row& later : rows) {
        if (&later <= &row || (later.verbs & Of(verb)) == 0) continue;
        Clear();
        later.plant();
        row.plant();
        EXPECT_EQ(cleared(verb).reason(), row.reason)
            << row.name << " before " << later.name << ", command " << command;
      }
    }
  }
  Clear();
}

// `check` does not ask about the other PCs of a network drive: it notes
// them, first, and says nothing of them elsewhere.
TEST_F(StartCheckListTest, CheckNotesANetworkDrive) {
  for (const bool network : {false, true}) {
    platform.network_drive = network;
    UpgradeDryRun dry_run;
    std::vector<PreflightProblem> problems;
    const Reply checked = CheckUser(installation, "u", "", dry_run, &problems);
    EXPECT_EQ(checked.outcome, Outcome::kDone) << network;
    EXPECT_EQ(!checked.said.empty() && checked.said.front().say == Say::kOtherPcsNote, network);
  }
}

// A run over several users asks about the installation once, and still
// makes each user's own checks, the scheduler started on the way among
// them: a user who fails one is refused, the others go on.
TEST_F(StartCheckListTest, ARunOverSeveralUsersAsksTheInstallationOnceAndEachUserForThemselves) {
  AddUsers({UserSpec{"a", "10100", "", 1, 1, 1}, UserSpec{"b", "10100", "", 1, 1, 1},
            UserSpec{"c", "10100", "", 1, 1, 1}});
  platform.network_drive = true;
  platform.unwritable_folder = NativeOf("users/a");
  testing::HeadlessView log;
  UpgradeTool tool(installation, log);
  tool.LoadUsers();
  platform.account_looks = 0;
  // The scheduler is started as soon as a user's upgrade is told done.
  struct StartingTheScheduler : BoxedNotices {
    using BoxedNotices::BoxedNotices;
    bool Show(const Said& said) override {
      if (said.say == Say::kUpgradeDone) *running = {"C:\\app\\Dayledger.exe"};
      return BoxedNotices::Show(said);
    }
    std::vector<std::string>* running = nullptr;
  } answered(installation.platform(), platform);
  answered.running = &platform.running_programs;
  UsersRun run(tool, StartRequest(), answered);
  EXPECT_EQ(run.Upgrade("a", "").reason(), Say::kFolderNotWritable);
  EXPECT_EQ(run.Upgrade("b", "").outcome, Outcome::kDone);
  EXPECT_EQ(run.Upgrade("c", "").reason(), Say::kProgramRunning);
  const auto questions =
      std::count_if(platform.messages.begin(), platform.messages.end(),
                    [](const auto& m) { return m.text == texts::kOtherPcsQuestion; });
  EXPECT_EQ(questions, 1);
  // Asked with the first user's question, and again with it answered.
  EXPECT_EQ(platform.account_looks, 2);
  Clear();
}

// The lock comes last: another program letting go of its own removes the
// empty folders its lock needed just after this one found them there. They
// are made again and the lock is taken, and letting go of it takes them
// away once more.
TEST_F(StartCheckListTest, ALockWhoseFoldersAnotherProgramRemovesAsItIsTakenIsTakenAllTheSame) {
  ASSERT_TRUE(installation.MakePlace(ToolPlace::kLocks).ok());
  platform.before_lock = [&] { fs::remove_all(NativeOf("upgrade_backup")); };
  Result<UserLock> lock = installation.LockUser("u");
  ASSERT_TRUE(lock.ok()) << lock.status().path.text();
  installation.Release(&*lock);
  EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup")));
}

}  // namespace
}  // namespace dayledger
