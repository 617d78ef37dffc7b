// Whole histories on one installation, seeded and random: the window and the
// terminal program, runs cut short and the start after them, the user's own
// edits, a second program working on the user meanwhile, restore, verify and
// check; after every step the promises of docs/safety.md hold.
// DAYLEDGER_LIFECYCLE_SEEDS=<n> plays n new seeds besides the fixed ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>

#include "check/preflight.h"
#include "commit/journal.h"
#include "demo/installation_builder.h"
#include "platform/cp949_codec.h"
#include "presenter/window_flow.h"
#include "restore/restore.h"
#include "schedule/schedule_cipher.h"
#include "schedule/schedule_file.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "support/fault_platform.h"
#include "support/headless_view.h"
#include "support/test_platform.h"
#include "upgrade/upgrade_runner.h"
#include "verify/verify.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using testing::FaultPlatform;
using Tree = std::map<std::string, std::string>;

// The histories the test command plays; the sanitizer build plays fewer.
#if defined(__SANITIZE_ADDRESS__)
constexpr unsigned kFixedSeeds = 2;
#else
constexpr unsigned kFixedSeeds = 24;
#endif

// What the history expects of one user.
struct Expected {
  UserSpec layout;
  Tree folder;  // the user's folder as it must be now
  Tree backup;  // upgrade_backup\<user> as it must be now; empty for none
  bool upgraded = false;
};

// The disk as one program sees it, where another program may finish its
// work at the very moment this one takes a lock.
class RacedDisk : public PlatformWrapper {
 public:
  explicit RacedDisk(Platform* disk) : PlatformWrapper(disk) {}
  Result<Lock> LockFile(const Path& path) override {
    if (before_lock) std::exchange(before_lock, nullptr)();
    return PlatformWrapper::LockFile(path);
  }
  std::function<void()> before_lock;
};

class History {
 public:
  History(unsigned seed, const std::string& native_root) : random_(seed) {
    InstallationBuilder builder(native_root);
    builder.WriteTemplates();
    const std::vector<UserSpec> pool = {
        {"kim", "", "", 1, 2, 1}, {"홍길동", "", "비밀번호", 1, 1, 1}, {"lee", "", "", 1, 1, 2}};
    const char* versions[] = {"10000", "10100", "10200"};
    std::vector<std::string> names;
    Note("users:");
    for (size_t i = 0, count = 2 + Pick(2); i < count; ++i) {
      UserSpec layout = pool[i];
      layout.version = versions[Pick(3)];
      if (Pick(2) == 0) layout.password = layout.password.empty() ? "pw" : "";
      builder.WriteUser(layout);
      names.push_back(layout.name);
      users_.push_back({layout, {}, {}, false});
      Note(" " + layout.name + " " + layout.version +
           (layout.password.empty() ? " plain" : " enciphered"));
    }
    builder.WriteUserList(names);
    app_dir_ = builder.AppDir();
    disk_.Load(builder.root(), app_dir_);
    for (Expected& user : users_) user.folder = disk_.Snapshot(UserDir(user));
    Note("\n");
  }

  // Plays `steps` steps, checking after each; the first broken promise ends it.
  void Play(int steps) {
    const std::function<void(size_t)> kinds[] = {
        [&](size_t who) { UpgradeInWindow(who, std::nullopt, false); },
        [&](size_t who) {
          Edit(who);
          UpgradeInWindow(who, std::nullopt, false);
        },
        [&](size_t who) { UpgradeInTerminal(who); },
        [&](size_t who) { UpgradeCutShort(who); },
        [&](size_t who) { UpgradeCutShort(who); },
        [&](size_t who) { Edit(who); },
        [&](size_t who) { UpgradeInWindow(who, Other::kUpgrade, Pick(2) == 0); },
        [&](size_t who) { UpgradeInWindow(who, Other::kRestore, Pick(2) == 0); },
        [&](size_t who) { RestoreUser(who); },
        [&](size_t who) { ReadOnly(who); },
    };
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
      const size_t who = Pick(users_.size());
      kinds[Pick(std::size(kinds))](who);
      CheckPromises();
    }
  }

  const std::string& steps() const { return steps_; }

 private:
  enum class Other { kUpgrade, kRestore };

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  void Note(const std::string& text) { steps_ += text; }
  Path UserDir(const Expected& user) const { return app_dir_ / "users" / user.layout.name; }
  Path BackupDir(const Expected& user) const {
    return app_dir_.Normal() / "upgrade_backup" / user.layout.name;
  }
  int Row(const Expected& user) const { return static_cast<int>(&user - users_.data()); }

  // One upgrade of the user on `disk` as the terminal program runs it, its
  // questions answered by --yes, cut by a crash before or a failure at the
  // given operation (0: none); the kinds of its operations into `kinds`.
  Outcome RunTool(FaultPlatform& disk, const Expected& user, bool skip, int crash_before = 0,
                  int fail_at = 0, std::string* kinds = nullptr) {
    Installation installation = Installation::OnView(disk, app_dir_);
    disk.operations = 0;
    const size_t first = disk.kinds.size();
    disk.crash_before = crash_before;
    disk.fail_at = fail_at;
    testing::HeadlessView log;
    UpgradeTool tool(installation, log);
    tool.LoadUsers();
    tool.ShowUser(Row(user));
    BoxedNotices answered(disk);
    const Outcome outcome =
        RunUpgrade(tool, {Row(user), user.layout.password, skip, true, true}, answered).outcome;
    if (kinds) *kinds = disk.kinds.substr(first);
    return outcome;
  }

  // The user's folder once upgraded, found by an upgrade of a copy of the
  // disk as it is now; nullopt when the upgrade stops on the data.
  std::optional<Tree> UpgradedNow(const Expected& user) {
    FaultPlatform copy = disk_;
    if (RunTool(copy, user, true) != Outcome::kDone) return std::nullopt;
    return copy.Snapshot(UserDir(user));
  }

  // Whether the tree is at the target version, by its profile.
  static bool AtTarget(const Tree& folder) {
    const auto profile = folder.find("profile.qbd");
    return profile != folder.end() && SplitLines(profile->second).at(1) == "10300";
  }

  // After an upgrade that may have happened: the folder is the old one or
  // the upgraded one, and the backup is the earlier one or the folder as
  // the run found it; the expectations follow.
  void Settle(Expected& user, const std::optional<Tree>& upgraded, bool backed_up_if_upgraded,
              const std::string& where) {
    const Tree now = disk_.Snapshot(UserDir(user));
    const Tree backup = disk_.Snapshot(BackupDir(user));
    const Tree found = user.folder;
    if (upgraded && now == *upgraded && !user.upgraded) {
      user.folder = now;
      user.upgraded = true;
      if (backed_up_if_upgraded) {
        EXPECT_TRUE(backup == found) << where << ": the backup is the folder as the run found it";
        user.backup = found;
        Installation installation = Installation::OnView(disk_, app_dir_);
        VerifyReport report;
        const Reply verified = Verify(
            installation, {Utf8ToCp949Text(user.layout.name), user.layout.password}, &report);
        EXPECT_TRUE(verified.outcome == Outcome::kDone && report.accounted_for())
            << where << ": verify accounts for everything";
      }
    } else {
      EXPECT_TRUE(now == user.folder) << where << ": the folder is neither old nor new";
    }
    if (backup != user.backup) {
      EXPECT_TRUE(backup == found) << where << ": the backup is neither the earlier one nor new";
      user.backup = backup;
    }
  }

  // The window, as a person drives it: opened, the user clicked, started,
  // and its timers run. With `other`, a second program works on the user
  // between the click and the start, or (`at_lock`) finishes just as the
  // start takes the user's lock.
  void UpgradeInWindow(size_t who, std::optional<Other> other, bool at_lock) {
    Expected& user = users_[who];
    const std::string where =
        "window upgrade of " + user.layout.name +
        (other ? (*other == Other::kUpgrade ? ", upgraded " : ", restored ") +
                     std::string(at_lock ? "as it takes the lock" : "meanwhile")
               : "");
    Note(where + "\n");
    RacedDisk raced(&disk_);
    Installation installation = Installation::OnView(raced, app_dir_);
    testing::HeadlessView view;
    WindowFlow flow(installation, view, disk_);
    flow.Open();
    view.selected = Row(user);
    view.password = user.layout.password;
    flow.UserClicked();
    // What the upgrade must make of the folder as the start finds it.
    std::optional<Tree> upgraded;
    const auto second = [&] {
      if (other == Other::kUpgrade) UpgradeInTerminal(who);
      if (other == Other::kRestore) RestoreUser(who);
      upgraded = user.upgraded ? std::nullopt : UpgradedNow(user);
    };
    if (at_lock) {
      upgraded = user.upgraded ? std::nullopt : UpgradedNow(user);
      raced.before_lock = second;
    } else {
      second();
    }
    Reply reply = flow.StartClicked();
    if (view.backup_timer) reply = flow.BackupTick();
    while (view.driver_timer) reply = flow.StageTick();
    if (user.upgraded) {
      EXPECT_EQ(disk_.MessageLines().back(),
                "information:해당 사용자 데이터 버전은 이미 최신 버전입니다.")
          << where;
      EXPECT_EQ(view.version_label, "v 1.03.00") << where << ": the user as they now are";
    } else {
      EXPECT_EQ(reply.outcome == Outcome::kDone, upgraded.has_value()) << where;
    }
    Settle(user, upgraded, true, where);
  }

  // The terminal program's upgrade, its questions answered by --yes.
  void UpgradeInTerminal(size_t who) {
    Expected& user = users_[who];
    const std::string where = "terminal upgrade of " + user.layout.name;
    Note(where + "\n");
    const std::optional<Tree> upgraded = user.upgraded ? std::nullopt : UpgradedNow(user);
    EXPECT_EQ(RunTool(disk_, user, false) == Outcome::kDone, upgraded.has_value()) << where;
    Settle(user, upgraded, true, where);
  }

  // A run cut short by a crash or an I/O error at a random operation, and
  // the start after it; sometimes a scanner holds a file of the interrupted
  // change at that start, and lets go before the start after.
  void UpgradeCutShort(size_t who) {
    Expected& user = users_[who];
    const bool crash = Pick(2) == 0;
    const bool skip = Pick(4) == 0;
    // Half the cuts fall anywhere in the run, half among the commit's
    // renames, just past its commit point, where a cut asks most of recovery.
    FaultPlatform probe = disk_;
    std::string kinds;
    RunTool(probe, user, skip, 0, 0, &kinds);
    const size_t commit_point = kinds.rfind("WSF");
    const int at = 1 + static_cast<int>(Pick(2) == 0 || commit_point == std::string::npos
                                            ? Pick(kinds.size() + 1)
                                            : commit_point + 2 + Pick(8));
    const std::string where = "upgrade of " + user.layout.name +
                              (crash ? ", crash before " : ", failure at ") + std::to_string(at) +
                              " of " + std::to_string(kinds.size()) + (skip ? ", no backup" : "");
    Note(where);
    const std::optional<Tree> upgraded = user.upgraded ? std::nullopt : UpgradedNow(user);
    RunTool(disk_, user, skip, crash ? at : 0, crash ? 0 : at);
    crash ? disk_.Crash() : void(disk_.fail_at = 0);
    // A file of a whole journal's change, held at the next start: the
    // journal, or the first new file under a temporary name of its own.
    const Tree left = disk_.Snapshot(UserDir(user));
    const auto journal = left.find(kJournalName);
    if (journal != left.end() && DecodeJournal(journal->second).ok() && Pick(3) != 0) {
      auto held = std::find_if(left.begin(), left.end(), [](const auto& entry) {
        return entry.first.find(".dlu-") == entry.first.rfind('\\') + 1;
      });
      if (held == left.end() || Pick(2) == 0) held = journal;
      Note(", held at the start: " + held->first);
      disk_.unreadable = {(UserDir(user) / held->first).Normal().text()};
      EXPECT_TRUE(Installation::OnView(disk_, app_dir_).recovery_stopped()) << where;
      EXPECT_TRUE(disk_.Snapshot(UserDir(user)) == left) << where << ": the held start changed it";
      disk_.unreadable.clear();
    }
    Note("\n");
    EXPECT_FALSE(Installation::OnView(disk_, app_dir_).recovery_stopped()) << where;
    Settle(user, upgraded, !skip, where);
  }

  // The user's own edits in the scheduler, at the user's own version.
  void Edit(size_t who) {
    Expected& user = users_[who];
    const Path folder = UserDir(user);
    std::string what;
    switch (Pick(user.upgraded ? 2 : 4)) {
      case 0:
        what = "a group added";
        disk_.WriteFile(folder / "groups" / ("added" + std::to_string(edits_++) + ".qbd"),
                        JoinLines({"#group data#", SplitLines(user.folder.at("profile.qbd")).at(1),
                                   Utf8ToCp949Text("새 그룹")}));
        break;
      case 1:
        what = "a group deleted";
        // The first group file, where there is one.
        if (const auto group = user.folder.upper_bound("groups\\");
            group != user.folder.end() && group->first.rfind("groups\\", 0) == 0) {
          disk_.DeleteFile(folder / group->first);
        }
        break;
      case 2: {
        const int year = 1980 + static_cast<int>(Pick(50));
        const int month = 1 + static_cast<int>(Pick(12));
        what = "entries added to " + std::to_string(year) + "-" + std::to_string(month);
        const std::string plain =
            InstallationBuilder::MonthlyFile(year, month, user.layout.version, 3);
        const bool enciphered = !user.layout.password.empty();
        disk_.WriteFile(
            folder / "schedules" / SchClass::FileName(year, month),
            enciphered ? EncodeScheduleLines(
                             LineList(SplitEncipheredLines(plain)), true,
                             MakeScheduleKey(InstallationBuilder::DataKeyFor(user.layout.password)))
                       : plain);
        break;
      }
      default:
        what = "a month deleted";
        disk_.DeleteFile(folder / "schedules" /
                         SchClass::FileName(1990, 1 + static_cast<int>(Pick(12))));
        break;
    }
    Note("edit of " + user.layout.name + ": " + what + "\n");
    // The scheduler saved it long before any power cut.
    for (const auto& [path, bytes] : disk_.Snapshot(folder)) {
      if (path.back() != '\\') disk_.SyncFile(folder / path);
    }
    for (const char* changed : {"groups", "schedules"}) disk_.SyncFolder(folder / changed);
    user.folder = disk_.Snapshot(folder);
  }

  void RestoreUser(size_t who) {
    Expected& user = users_[who];
    const std::string where = "restore of " + user.layout.name;
    Note(where + "\n");
    Installation installation = Installation::OnView(disk_, app_dir_);
    RestorePlan plan;
    const Reply planned = PlanRestore(installation, Utf8ToCp949Text(user.layout.name), &plan);
    if (user.backup.empty()) {
      EXPECT_EQ(planned.outcome, Outcome::kRefused) << where;
      return;
    }
    ASSERT_EQ(planned.outcome, Outcome::kDone) << where;
    std::vector<Path> undeleted;
    EXPECT_EQ(Restore(installation, &plan, &undeleted, true).outcome, Outcome::kDone) << where;
    const Tree now = disk_.Snapshot(UserDir(user));
    EXPECT_TRUE(now == user.backup) << where << ": the backup given back byte for byte";
    EXPECT_TRUE(disk_.Snapshot(plan.aside_dir) == user.folder)
        << where << ": the folder before kept aside";
    user.folder = now;
    user.upgraded = AtTarget(now);
  }

  // verify and check: whatever they find, they change nothing, and check
  // finds the upgrade would go through exactly where it would.
  void ReadOnly(size_t who) {
    const Expected& user = users_[who];
    const std::string where = "verify and check of " + user.layout.name;
    Note(where + "\n");
    const Tree before = disk_.Snapshot(app_dir_);
    Installation installation = Installation::OnView(disk_, app_dir_);
    VerifyReport report;
    Verify(installation, {Utf8ToCp949Text(user.layout.name), user.layout.password}, &report);
    UpgradeDryRun dry_run;
    std::vector<PreflightProblem> problems;
    const Reply checked =
        CheckUser(installation, Row(user), user.layout.password, dry_run, &problems);
    EXPECT_EQ(checked.outcome == Outcome::kDone, !user.upgraded && UpgradedNow(user)) << where;
    EXPECT_TRUE(disk_.Snapshot(app_dir_) == before) << where << " changed the disk";
  }

  void CheckPromises() {
    // Nothing of the tool's work anywhere: the users' folders, upgrade_backup.
    for (const auto& [path, bytes] : disk_.Snapshot(app_dir_)) {
      EXPECT_EQ(path.find(".dlu-"), std::string::npos) << "left: " << path;
    }
    for (const Expected& user : users_) {
      EXPECT_TRUE(disk_.Snapshot(UserDir(user)) == user.folder)
          << user.layout.name << ": not as expected";
      const Tree backup = disk_.Snapshot(BackupDir(user));
      EXPECT_TRUE(backup == user.backup) << user.layout.name << ": backup not as expected";
      EXPECT_FALSE(AtTarget(backup)) << user.layout.name << ": the backup holds 1.03 data";
    }
  }

  std::mt19937 random_;
  FaultPlatform disk_;
  Path app_dir_;
  std::vector<Expected> users_;
  std::string steps_;
  int edits_ = 0;
};

void PlayHistory(unsigned seed) {
  testing::TestPlatform temp;
  History history(seed, temp.temp_dir() + "/app");
  std::mt19937 lengths(seed);
  history.Play(10 + static_cast<int>(lengths() % 21));
  if (::testing::Test::HasFailure()) {
    std::printf("seed %u failed; its steps:\n%s", seed, history.steps().c_str());
  }
}

TEST(LifecycleSweepTest, FixedSeedsKeepEveryPromise) {
  for (unsigned seed = 1; seed <= kFixedSeeds && !::testing::Test::HasFailure(); ++seed) {
    PlayHistory(seed);
  }
}

TEST(LifecycleSweepTest, NewSeedsFromTheEnvironment) {
  const char* count = std::getenv("DAYLEDGER_LIFECYCLE_SEEDS");
  if (count == nullptr) GTEST_SKIP() << "DAYLEDGER_LIFECYCLE_SEEDS=<n> plays n new seeds";
  std::random_device device;
  for (int i = 0; i < std::atoi(count) && !::testing::Test::HasFailure(); ++i) {
    const unsigned seed = device();
    std::printf("seed %u\n", seed);
    PlayHistory(seed);
  }
}

}  // namespace
}  // namespace dayledger
