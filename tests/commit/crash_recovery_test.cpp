// The whole upgrade against crashes and failing operations: after a crash
// before any file-changing operation, or a failure of one, a fresh tool
// instance finds the user's folder exactly as before or exactly as after an
// uninterrupted upgrade, and a rerun ends byte for byte like one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ostream>
#include <set>

#include "commit/commit.h"
#include "commit/journal.h"
#include "commit/overlay_platform.h"
#include "demo/installation_builder.h"
#include "digest/sha1.h"
#include "floor/copy_tree.h"
#include "floor/installation.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "platform/framework_error.h"
#include "platform/path.h"
#include "restore/restore.h"
#include "state/file_names.h"
#include "support/fault_platform.h"
#include "support/headless_view.h"
#include "support/opened_installation.h"
#include "support/stopped_words.h"
#include "support/test_platform.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using testing::FaultPlatform;
using testing::SimulatedCrash;
using Tree = std::map<std::string, std::string>;

// The first difference of two trees, short enough to read.
std::string Diff(const Tree& actual, const Tree& expected) {
  for (const auto& [path, bytes] : expected) {
    const auto it = actual.find(path);
    if (it == actual.end()) return "missing " + path;
    if (it->second != bytes) return "differs " + path;
  }
  for (const auto& [path, bytes] : actual) {
    if (expected.count(path) == 0) return "extra " + path;
  }
  return "same";
}

// The operations from..to that a sweep tries. The plain build tries every
// one. Under the sanitizers, where each run is many times slower, a spread
// sample: the first and last three, the first and last operation of each
// kind (write, flush, rename, delete, ...), and every kSanitizerStride-th.
// A sweep of a commit that another sweep already tries whole may ask for a
// wider stride.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerStride = 17;
#else
constexpr int kSanitizerStride = 1;
#endif

std::vector<int> SweepPoints(const std::string& kinds, int from, int to,
                             int stride = kSanitizerStride) {
  std::set<int> points;
  for (int n = from; n <= to; ++n) {
    if (n % stride == 0 || n < from + 3 || n + 3 > to) points.insert(n);
  }
  std::map<char, std::pair<int, int>> first_last;
  for (int n = from; n <= to && n <= static_cast<int>(kinds.size()); ++n) {
    const char kind = kinds[static_cast<size_t>(n - 1)];
    auto [it, fresh] = first_last.try_emplace(kind, n, n);
    it->second.second = n;
  }
  for (const auto& [kind, range] : first_last) points.insert({range.first, range.second});
  return {points.begin(), points.end()};
}

struct Scenario {
  const char* label;
  UserSpec user;
};
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.label; }

class CrashRecoveryTest : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    const UserSpec& user = GetParam().user;
    InstallationBuilder builder(temp.temp_dir() + "/app");
    builder.WriteTemplates();
    builder.WriteUser(user);
    builder.WriteUserList({user.name});
    // Odd line ends: a group file with lone LFs and lone CRs.
    InstallationBuilder::WriteNative(builder.UserDir(user.name) + "/groups/odd.qbd",
                                     "#group data#\n" + user.version + "\rname\n\nlast");
    app_dir = builder.AppDir();
    user_dir = app_dir / "users" / user.name;
    pristine.Load(builder.root(), app_dir);
    pristine.executable_path = app_dir.WithSuffix("dayledger-upgrade");
    pristine.guarded_folder = user_dir.Normal().text();
    pristine.guarded_by =
        testing::OpenedOn(pristine, app_dir).LockOf(Utf8ToCp949Text(user.name)).text();
    original = pristine.Snapshot(user_dir);

    FaultPlatform reference = pristine;
    ASSERT_EQ(Run(reference, true), Outcome::kDone);
    upgraded = reference.Snapshot(user_dir);
    commit_kinds = reference.kinds;
    ASSERT_NE(upgraded, original);
  }

  // A fresh tool instance: recovery on opening, then the whole upgrade;
  // none when the opening stops.
  Outcome Run(FaultPlatform& disk, bool skip_backup, std::vector<std::string>* log = nullptr) {
    std::vector<Said> notes;
    Result<Installation> opened = Installation::Open(disk, app_dir, &notes);
    if (!opened.ok()) return Outcome::kStopped;
    Installation& installation = *opened;
    testing::HeadlessView view;
    UpgradeTool tool(installation, view);
    tool.LoadUsers();
    tool.ShowUser(tool.NameAt(0));
    const StartRequest request{tool.NameAt(0), GetParam().user.password, skip_backup};
    BoxedNotices notices(installation.platform(), disk);
    Outcome outcome = Outcome::kStopped;
    try {
      outcome = RunUpgrade(tool, request, notices).outcome;
    } catch (const SimulatedCrash&) {  // the power cut ends the run there
    }
    if (log) *log = view.log;
    return outcome;
  }

  // After a crash: the machine restarts, a fresh instance recovers.
  Tree RecoveredAfterCrash(FaultPlatform& disk) {
    disk.Crash();
    testing::Reopen(disk, app_dir);
    return disk.Snapshot(user_dir);
  }

  // The state must be whole, and a rerun from the old state must end in the new one.
  void ExpectWholeAndRerunEnds(FaultPlatform& disk, const Tree& state, const std::string& where) {
    for (const auto& [path, bytes] : state) {
      EXPECT_EQ(path.find(".dlu-"), std::string::npos) << where << ": " << path;
    }
    if (state == upgraded) return;
    ASSERT_TRUE(state == original) << where << ": neither old nor new: " << Diff(state, original)
                                   << " / " << Diff(state, upgraded);
    ASSERT_EQ(Run(disk, true), Outcome::kDone) << where;
    EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded)
        << where << ": rerun " << Diff(disk.Snapshot(user_dir), upgraded);
  }

  // The operations of a run to try, and one past the last: a power cut
  // just after the run reported success.
  static std::vector<int> Points(const std::string& kinds) {
    return SweepPoints(kinds, 1, static_cast<int>(kinds.size()) + 1);
  }

  testing::TestPlatform temp;
  FaultPlatform pristine;
  Path app_dir;
  Path user_dir;
  Tree original;
  Tree upgraded;
  std::string commit_kinds;
};

TEST_P(CrashRecoveryTest, CrashBeforeAnyCommitOperationRecoversToAWholeState) {
  const std::vector<int> points = Points(commit_kinds);
  for (int n : points) {
    FaultPlatform disk = pristine;
    disk.crash_before = n;
    // Every other point tears the writes not yet flushed (the journal's
    // included) instead of losing them whole.
    disk.torn_writes = n % 2 == 1;
    Run(disk, true);
    EXPECT_TRUE(disk.unlocked_changes.empty()) << n << ": " << disk.unlocked_changes[0];
    const Tree state = RecoveredAfterCrash(disk);
    ExpectWholeAndRerunEnds(
        disk, state, "crash before " + std::to_string(n) + (disk.torn_writes ? ", torn" : ""));
  }
  std::printf("%s: %zu crash points of %zu operations\n", GetParam().label, points.size(),
              commit_kinds.size());
}

TEST_P(CrashRecoveryTest, FailureOfAnyCommitOperationIsReportedAndLeavesAWholeState) {
  const std::vector<int> points = Points(commit_kinds);
  for (int n : points) {
    const std::string where = "failure at " + std::to_string(n);
    FaultPlatform disk = pristine;
    disk.fail_at = n;
    std::vector<std::string> log;
    if (Run(disk, true, &log) == Outcome::kDone) {
      // Ignored: the backup folders' creation, checked by the backup. A
      // failed step after the commit point was tried again and finished.
      EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded) << where;
      EXPECT_TRUE(disk.unlocked_changes.empty()) << where << ": " << disk.unlocked_changes[0];
      continue;
    }
    ASSERT_FALSE(disk.messages.empty()) << where << ": the error is reported";
    const std::string shown = disk.MessageLines().back();
    EXPECT_EQ(shown.rfind("error:", 0), 0u) << where;
    // A stopped run's message gives the system's reason and names its record.
    if (disk.messages.back().flags == 16 &&
        shown.find(texts::kLockUnavailable) == std::string::npos) {
      EXPECT_NE(shown.find(testing::ReasonShown(EIO)), std::string::npos) << where << ": " << shown;
      EXPECT_TRUE(shown.find(texts::kRecordKeptAt) != std::string::npos ||
                  shown.find(texts::kRecordNotKept) != std::string::npos)
          << where << ": " << shown;
    }
    // A failure after the commit point is finished by the next instance.
    testing::Reopen(disk, app_dir);
    ExpectWholeAndRerunEnds(disk, disk.Snapshot(user_dir), where);
  }
  std::printf("%s: %zu failure points\n", GetParam().label, points.size());
  // The commit point's flush fails and the whole journal cannot be deleted:
  // the temporaries it names stay, and the next start finishes the change.
  const size_t first_rename = commit_kinds.find('R');
  ASSERT_EQ(commit_kinds.at(first_rename - 1), 'F');
  FaultPlatform disk = pristine;
  disk.fail_at = static_cast<int>(first_rename);
  disk.failing_delete_of = (user_dir / kJournalName).Normal().text();
  ASSERT_EQ(Run(disk, true), Outcome::kStopped);
  disk.failing_delete_of.clear();
  testing::Reopen(disk, app_dir);
  EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded) << Diff(disk.Snapshot(user_dir), upgraded);
}

// A file another program holds: found by the start checks, the run is
// refused with nothing changed and names it; held only for a moment, it is
// waited for. Held from after those checks on, its rename fails however
// long it is tried, the change is saved, the message says so and names the
// rename, and the next start finishes it; held there only for a moment, it
// is waited for too. A month held at its deletion for good stays behind,
// named in the log, and the upgrade is done.
TEST_P(CrashRecoveryTest, FileAnotherProgramHoldsIsWaitedForOrRefusedOrFinishedAtTheNextStart) {
  const std::string profile = (user_dir / "profile.qbd").Normal().text();
  std::string month;  // the last monthly file the merge deletes
  for (const auto& [path, bytes] : original) {
    if (path.rfind("schedules\\", 0) == 0 && !upgraded.count(path)) month = path;
  }
  ASSERT_FALSE(month.empty());
  enum class Held { kAtStart, kAtRename, kAtDeletion };
  const struct {
    Held held;
    int release_after;  // pauses; 0: never
    Outcome outcome;
  } cases[] = {
      {Held::kAtStart, 0, Outcome::kRefused},  {Held::kAtStart, 5, Outcome::kDone},
      {Held::kAtRename, 0, Outcome::kStopped}, {Held::kAtRename, 5, Outcome::kDone},
      {Held::kAtDeletion, 0, Outcome::kDone},
  };
  for (const auto& c : cases) {
    FaultPlatform disk = pristine;
    if (c.held == Held::kAtStart) disk.held_open.insert(profile);
    if (c.held == Held::kAtRename) disk.failing_rename_to = profile;
    if (c.held == Held::kAtDeletion) disk.failing_delete_of = (user_dir / month).Normal().text();
    disk.release_after = c.release_after;
    const std::string where = "held " + std::to_string(static_cast<int>(c.held)) +
                              ", released after " + std::to_string(c.release_after);
    std::vector<std::string> log;
    EXPECT_EQ(Run(disk, true, &log), c.outcome) << where;
    const std::string shown = disk.MessageLines().back();
    if (c.held == Held::kAtDeletion) {
      Tree expected = upgraded;
      expected[month] = original.at(month);
      EXPECT_TRUE(disk.Snapshot(user_dir) == expected) << Diff(disk.Snapshot(user_dir), expected);
      const std::string named = " - 삭제하지 못한 파일 : " + disk.failing_delete_of;
      EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& line) {
        return line.ends_with(named);
      })) << where;
    } else if (c.outcome == Outcome::kDone) {
      EXPECT_EQ(shown, "information:사용자 정보 업그레이드가 완료되었습니다!") << where;
      EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded) << where;
    } else if (c.outcome == Outcome::kRefused) {
      EXPECT_EQ(
          shown,
          "error:다른 프로그램이 사용 중인 파일이 있어 아무것도 바꾸지 않았습니다. Dayledger를 "
          "종료한 다음 다시 시도해 주십시오: " +
              profile + ".");
      EXPECT_TRUE(disk.Snapshot(user_dir) == original) << Diff(disk.Snapshot(user_dir), original);
    } else {
      EXPECT_EQ(
          shown.rfind(
              "error:변경 내용은 저장되었으며, 프로그램을 다음에 실행할 때 마저 완료됩니다.", 0),
          0u)
          << shown;
      EXPECT_NE(shown.find("Cannot rename file " + profile), std::string::npos) << shown;
      EXPECT_EQ(disk.Snapshot(user_dir).count(kJournalName), 1u);
      disk.failing_rename_to.clear();
      testing::Reopen(disk, app_dir);
      EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded) << Diff(disk.Snapshot(user_dir), upgraded);
    }
  }
}

TEST_P(CrashRecoveryTest, CrashOrFailureDuringRecoveryIsRecoveredAgain) {
  // Crash just after the commit point: the first rename.
  FaultPlatform crashed = pristine;
  crashed.crash_before = static_cast<int>(commit_kinds.find('R')) + 1;
  Run(crashed, true);
  crashed.Crash();
  FaultPlatform probe = crashed;
  testing::Reopen(probe, app_dir);
  ASSERT_TRUE(probe.Snapshot(user_dir) == upgraded) << "rolled forward";
  const std::vector<int> points = Points(probe.kinds);
  for (int m : points) {
    const std::string where = "recovery operation " + std::to_string(m);
    FaultPlatform disk = crashed;
    disk.crash_before = m;
    try {
      testing::Reopen(disk, app_dir);
    } catch (const SimulatedCrash&) {
    }
    const Tree state = RecoveredAfterCrash(disk);
    EXPECT_TRUE(state == upgraded) << where << ", crash: " << Diff(state, upgraded);

    FaultPlatform failing = crashed;
    failing.fail_at = m;
    testing::Reopen(failing, app_dir);
    testing::Reopen(failing, app_dir);
    EXPECT_TRUE(failing.Snapshot(user_dir) == upgraded) << where << ", failure";
  }
  std::printf("%s: %zu recovery points\n", GetParam().label, points.size());
}

// Another program at the next start: looking at a file in `unseen` fails
// (EACCES), and the files the disk keeps unreadable are let go once its
// `release_after` pauses have passed (0: never).
class HoldingPlatform : public PlatformWrapper {
 public:
  explicit HoldingPlatform(FaultPlatform& disk) : PlatformWrapper(&disk), disk_(disk) {}
  Result<PathKind> Inspect(const Path& path) override {
    if (unseen.count(path.Normal().text()) != 0) {
      return Status::Failed(StatusKind::kReadFailed, path, EACCES);
    }
    return PlatformWrapper::Inspect(path);
  }
  void Pause(int milliseconds) override {
    PlatformWrapper::Pause(milliseconds);
    if (disk_.pauses == disk_.release_after) disk_.unreadable.clear();
  }
  std::set<std::string> unseen;

 private:
  FaultPlatform& disk_;
};

// A power cut just after the commit point leaves a whole journal. At the
// next start a scanner holds the journal, a temporary it names, or a file
// already renamed into place, or the journal cannot be looked at: the
// opening stops, changes nothing (renames aside) and names the file with
// the system's reason; once let go, the start after finishes the change. A
// file renamed into place and let go while the journal's patience waits is
// waited for. A temporary that is gone while its target does not hold what
// the journal says is lost: recovery stops there, and no monthly file is
// deleted. A journal a newer build wrote stays as it is, with all it names.
TEST_P(CrashRecoveryTest, HeldOrLostFilesOfAWholeJournalStopTheOpeningAndDeleteNothing) {
  FaultPlatform crashed = pristine;
  crashed.crash_before = static_cast<int>(commit_kinds.find('R')) + 1;
  Run(crashed, true);
  crashed.Crash();
  const Tree left = crashed.Snapshot(user_dir);
  // The first new file under a temporary name of its own, and its target.
  const auto found = std::find_if(left.begin(), left.end(), [](const auto& entry) {
    const std::string& path = entry.first;
    return path != kJournalName && path.find(".dlu-") == path.rfind('\\') + 1;
  });
  ASSERT_NE(found, left.end());
  const std::string temporary = found->first;
  const std::string journal = left.at(kJournalName);
  const Result<Journal> decoded = DecodeJournal(journal);
  ASSERT_TRUE(decoded.ok());
  const auto renamed =
      std::find_if(decoded->renames.begin(), decoded->renames.end(),
                   [&](const JournalRename& r) { return r.temporary == temporary; });
  ASSERT_TRUE(renamed != decoded->renames.end() && renamed->checked);
  const std::string target = renamed->target;
  // The same journal whole, as a build with a third format would write it.
  const size_t body_from = journal.find('\n') + 1;
  const std::string newer_body =
      "dayledger journal 3\n" + journal.substr(body_from, journal.rfind("C\t") - body_from);
  const std::string newer = newer_body + "C\t" + HexDigest(newer_body) + "\n";
  enum class Fault {
    kHeld,    // reading, renaming and deleting it fail (EBUSY)
    kLost,    // deleted
    kUnseen,  // looking at it fails (EACCES)
    kNewer,   // the journal holds `newer`
  };
  const struct {
    std::string file;  // relative to the user's folder
    Fault fault;
    bool renamed = false;   // the temporary was renamed onto it before the power cut
    int release_after = 0;  // pauses it stays held; 0: throughout
  } cases[] = {
      {kJournalName, Fault::kHeld},    {temporary, Fault::kHeld},     {temporary, Fault::kLost},
      {kJournalName, Fault::kUnseen},  {kJournalName, Fault::kNewer}, {target, Fault::kHeld, true},
      {target, Fault::kHeld, true, 3},
  };
  for (const auto& c : cases) {
    const std::string where = c.file + " fault " + std::to_string(static_cast<int>(c.fault)) +
                              ", released after " + std::to_string(c.release_after);
    FaultPlatform disk = crashed;
    HoldingPlatform view(disk);
    const Path file = user_dir / c.file;
    if (c.renamed) {
      ASSERT_TRUE(disk.RenameFile(user_dir / temporary, file).ok()) << where;
    }
    if (c.release_after != 0) disk.release_after = disk.pauses + c.release_after;
    if (c.fault == Fault::kHeld) disk.unreadable.insert(file.Normal().text());
    if (c.fault == Fault::kLost) (void)disk.DeleteFile(file);
    if (c.fault == Fault::kUnseen) view.unseen.insert(file.Normal().text());
    if (c.fault == Fault::kNewer) (void)disk.WriteFile(file, newer);
    const Tree expected = disk.Snapshot(user_dir);
    std::vector<Said> notes;
    const bool opened = Installation::Open(view, app_dir, &notes).ok();
    ASSERT_EQ(notes.size(), 1u) << where;
    const std::string note = Worded(view, notes[0]).text;
    if (c.release_after != 0) {
      EXPECT_TRUE(opened && notes[0].say == Say::kNoteRolledForward) << where << ": " << note;
      EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded)
          << where << ": " << Diff(disk.Snapshot(user_dir), upgraded);
      continue;
    }
    // The words, the file, and for a held one the system's reason.
    const char* words = c.fault == Fault::kLost    ? texts::kChangeLost
                        : c.fault == Fault::kNewer ? texts::kNewerFormat
                                                   : texts::kRecoveryHeld;
    const int code = c.fault == Fault::kHeld ? EBUSY : c.fault == Fault::kUnseen ? EACCES : 0;
    EXPECT_TRUE(!opened && note.find(words) != std::string::npos &&
                note.find("\\" + c.file + ".") != std::string::npos &&
                (code == 0 || note.find(testing::ReasonShown(code)) != std::string::npos))
        << where << ": " << note;
    // Nothing of the old data is deleted, and the journal stays.
    const Tree now = disk.Snapshot(user_dir);
    EXPECT_TRUE(now.count(kJournalName) == 1 && std::all_of(original.begin(), original.end(),
                                                            [&](const auto& entry) {
                                                              return now.count(entry.first) == 1 ||
                                                                     upgraded.count(entry.first) ==
                                                                         1;
                                                            }))
        << where << ": " << Diff(now, original);
    if (c.fault == Fault::kLost) continue;
    // Stopped before its first rename, it changed nothing at all.
    if (!c.renamed) {
      EXPECT_TRUE(now == expected) << where << ": " << Diff(now, expected);
    }
    if (c.fault == Fault::kNewer) {
      // Only the newer build may finish it: every start leaves it so.
      EXPECT_TRUE(!testing::Reopen(disk, app_dir)) << where;
      EXPECT_TRUE(disk.Snapshot(user_dir) == expected) << where;
      continue;
    }
    disk.unreadable.clear();
    testing::Reopen(disk, app_dir);
    EXPECT_TRUE(disk.Snapshot(user_dir) == upgraded)
        << where << ": " << Diff(disk.Snapshot(user_dir), upgraded);
  }
}

// The way back, against the same faults: a restore after a completed
// upgrade, interrupted anywhere, leaves the upgraded or the restored folder,
// and once restored the upgraded one is kept whole beside the backup.
TEST_P(CrashRecoveryTest, RestoreInterruptedAnywhereKeepsTheCurrentOrTheRestoredFolder) {
  FaultPlatform upgraded_disk = pristine;
  ASSERT_EQ(Run(upgraded_disk, false), Outcome::kDone);
  upgraded_disk.Crash();  // all of it was flushed: the power cut loses nothing
  ASSERT_TRUE(upgraded_disk.Snapshot(user_dir) == upgraded);
  const std::string name = Utf8ToCp949Text(GetParam().user.name);
  // One restore as the command runs it; the plan names where the current folder goes.
  auto restore = [&](FaultPlatform& disk) {
    Installation installation = testing::OpenedOn(disk, app_dir);
    RestorePlan plan;
    EXPECT_EQ(PlanRestore(installation, name, &plan).outcome, Outcome::kDone);
    std::vector<Path> undeleted;
    Restore(installation, &plan, &undeleted);  // a crash or an error ends it like any other
    return plan;
  };
  FaultPlatform probe = upgraded_disk;
  restore(probe);
  ASSERT_TRUE(probe.Snapshot(user_dir) == original) << Diff(probe.Snapshot(user_dir), original);
  const int total = probe.operations;
  // The copy kept aside, up to its rename into its kept name, is tried at
  // every operation. The commit after it is the upgrade's commit, which the
  // sweeps above try at every operation: here every 100th, and the first
  // and last of each kind, with the recovery and the rerun of a restore.
  const int kept_at = static_cast<int>(probe.kinds.find('R')) + 1;
  std::set<int> points;
  for (int n : SweepPoints(probe.kinds, 1, kept_at + 1)) points.insert(n);
  for (int n : SweepPoints(probe.kinds, kept_at + 2, total + 1, 100)) points.insert(n);
  for (int n : points) {
    for (const bool crash : {true, false}) {
      const std::string where = (crash ? "crash before " : "failure at ") + std::to_string(n);
      FaultPlatform disk = upgraded_disk;
      (crash ? disk.crash_before : disk.fail_at) = n;
      RestorePlan plan = restore(disk);
      EXPECT_TRUE(disk.unlocked_changes.empty()) << where << ": " << disk.unlocked_changes[0];
      if (crash) disk.Crash();
      testing::Reopen(disk, app_dir);
      if (disk.Snapshot(user_dir) == upgraded) plan = restore(disk);  // the rerun
      EXPECT_TRUE(disk.Snapshot(user_dir) == original)
          << where << ": " << Diff(disk.Snapshot(user_dir), original);
      EXPECT_TRUE(disk.Snapshot(plan.aside_dir) == upgraded)
          << where << ": the upgraded folder is kept";
    }
  }
  std::printf("%s: %zu of %d restore points, crashed and failed\n", GetParam().label, points.size(),
              total + 1);
}

// A restore into a user's folder that is gone makes the folder first. A
// power cut anywhere leaves no folder or the restored one, and once the
// restore said it was done, the restored one.
TEST_P(CrashRecoveryTest, RestoreIntoAMissingFolderSurvivesAPowerCutAnywhere) {
  FaultPlatform gone = pristine;
  ASSERT_EQ(Run(gone, false), Outcome::kDone);
  ASSERT_TRUE(RemoveTree(gone, user_dir).ok());
  ASSERT_TRUE(gone.SyncFolder(user_dir.Parent()).ok());
  gone.Crash();
  const std::string name = Utf8ToCp949Text(GetParam().user.name);
  auto restore = [&](FaultPlatform& disk) {
    Installation installation = testing::OpenedOn(disk, app_dir);
    RestorePlan plan;
    PlanRestore(installation, name, &plan);
    std::vector<Path> undeleted;
    return Restore(installation, &plan, &undeleted).outcome;
  };
  FaultPlatform probe = gone;
  ASSERT_EQ(restore(probe), Outcome::kDone);
  // The commit after the folder is made is the upgrade's, which the sweeps
  // above try at every operation: here every 25th, and the first and last
  // of each kind, the power cut after the whole restore among them.
  for (int n : SweepPoints(probe.kinds, 1, probe.operations + 1, std::max(kSanitizerStride, 25))) {
    const std::string where = "crash before " + std::to_string(n);
    FaultPlatform disk = gone;
    disk.crash_before = n;
    const bool done = restore(disk) == Outcome::kDone;
    disk.Crash();
    testing::Reopen(disk, app_dir);
    // Restored, or no folder and a rerun restores it.
    EXPECT_TRUE(disk.Snapshot(user_dir) == original ||
                (!done && disk.Snapshot(user_dir).empty() && restore(disk) == Outcome::kDone &&
                 disk.Snapshot(user_dir) == original))
        << where << (done ? ", said done: " : ": ") << Diff(disk.Snapshot(user_dir), original);
  }
}

// A folder a change removes but cannot, for a file in it that will not go:
// the other deletions in it stay deleted through a power cut.
TEST(CommitPowerCutTest, DeletionsInARemovedFolderThatStaysAreKept) {
  FaultPlatform disk;
  const Path root("\\u");
  const Path folder = root / "old";
  (void)disk.CreateDirectory(root);
  (void)disk.CreateDirectory(folder);
  for (const char* name : {"a", "b"}) (void)disk.WriteFile(folder / name, name);
  for (const Path& each : {folder / "a", folder / "b"}) (void)disk.SyncFile(each);
  for (const Path& each : {folder, root, Path("\\")}) (void)disk.SyncFolder(each);
  disk.failing_delete_of = (folder / "b").text();
  OverlayPlatform staged(&disk);
  ASSERT_TRUE(RemoveTree(staged, folder).ok());
  CommitChanges(disk, root, staged);
  disk.Crash();
  EXPECT_TRUE(disk.Snapshot(root) == (Tree{{"old\\", ""}, {"old\\b", "b"}}))
      << Diff(disk.Snapshot(root), {});
}

INSTANTIATE_TEST_SUITE_P(
    Users, CrashRecoveryTest,
    ::testing::Values(Scenario{"from 1.00 encrypted",
                               UserSpec{"홍길동", "10000", "비밀번호", 1, 2, 1}},
                      Scenario{"from 1.01 plain", UserSpec{"plain", "10100", "", 2, 1, 1}},
                      Scenario{"from 1.02 encrypted", UserSpec{"enc", "10200", "pw", 1, 1, 2}}),
    [](const ::testing::TestParamInfo<Scenario>& info) {
      return std::string("v") + info.param.user.version;
    });

}  // namespace
}  // namespace dayledger
