// The pre-flight check: the upgrade run in memory, round after round, past
// every broken file.
#include "check/preflight.h"

#include <algorithm>

#include "commit/overlay_platform.h"
#include "floor/words.h"
#include "platform/path.h"
#include "schedule/schedule_file.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "state/version_code.h"

namespace dayledger {
namespace {

// A dry run changes nothing on the disk: it makes no lock file of its own,
// and holds the real lock only where its folder is there already (below).
// Nothing in it reads the backup again: the backup's files keep
// their names, not their bytes, so the run holds the user's data about as
// often as the upgrade does.
class UnlockedOverlay : public OverlayPlatform {
 public:
  UnlockedOverlay(Platform* target, const Installation& installation)
      : OverlayPlatform(target), backup_root_(installation.BackupRoot()) {}
  // Where the lock's folder is there already, the real lock is taken once
  // and held while the dry run reads (it is let go with the overlay, taking
  // its file with it): a lock file that cannot be opened is found as the
  // upgrade would find it, and no upgrade changes the folder under the check.
  Result<Lock> LockFile(const Path& path) override {
    if (!real_lock_ && LockPlaceThere(path)) {
      Result<Lock> real = target()->LockFile(path);
      if (!real.ok()) return real;
      real_lock_ = std::move(*real);
    }
    return std::make_unique<FileLock>();
  }
  Status WriteFileMoved(const Path& path, std::string&& bytes) override {
    // A swap, not an assignment: assigning an empty string keeps the buffer.
    if (backup_root_.Holds(path)) std::string().swap(bytes);
    return OverlayPlatform::WriteFileMoved(path, std::move(bytes));
  }
  // The new backup taking the earlier one's place is a move of names: the
  // dry run has nothing to learn from it.
  Status RenameFile(const Path& from, const Path& to) override {
    if (backup_root_.Holds(from)) return Status::Ok();
    return OverlayPlatform::RenameFile(from, to);
  }

 private:
  // Whether the lock's folder is there, or something on its way is not a
  // folder, which the upgrade would meet as well.
  bool LockPlaceThere(const Path& lock) {
    for (Path folder = lock.Parent(); backup_root_.Holds(folder); folder = folder.Parent()) {
      const Result<PathKind> there = target()->Inspect(folder);
      if (!there.ok()) return true;
      if (*there == PathKind::kMissing) continue;
      return folder == lock.Parent() || *there != PathKind::kFolder;
    }
    return false;
  }

  Path backup_root_;
  Lock real_lock_;
};

// Every message the run tells is kept instead of shown; questions are
// answered yes.
class KeptMessages : public Notices {
 public:
  bool Show(const Said& said) override {
    kept.push_back(said);
    return true;
  }
  std::vector<Said> kept;
};

// Enough rounds for every file of a user to fail once.
constexpr int kMaxRounds = 2000;

// Stands in for a broken file so the next run can look past it: an empty
// month in the user's form, or a two-line file with a version line.
std::string Substitute(const Path& path, const UnlockedUser& user) {
  const bool user_schedule = ScheduleFolder(user.folder()).Holds(path);
  const LineList lines(std::vector<std::string>{kScheduleHeader, kFirstVersion, "0"});
  return user_schedule ? user.Encode(lines) : UnlockedUser().Encode(lines);
}

// The reply for the problems found: clean, or refused, telling what the
// start checks told.
Reply Checked(const std::vector<Said>& refusals, const std::vector<PreflightProblem>& problems) {
  Reply reply;
  if (!refusals.empty() || !problems.empty()) reply.outcome = Outcome::kRefused;
  for (Said refusal : refusals) {
    refusal.kind = NoticeKind::kInformation;
    reply.said.push_back(std::move(refusal));
  }
  return reply;
}

}  // namespace

namespace {

// The rounds of the dry run, each past the files the ones before stopped at.
Reply CheckRounds(Installation& installation, const std::string& user, const std::string& password,
                  DryRun& tool, std::vector<PreflightProblem>* found) {
  std::vector<PreflightProblem>& problems = *found;
  Platform& platform = installation.platform();
  UnlockedOverlay overlay(&platform, installation);
  for (int round = 0; round < kMaxRounds; ++round) {
    overlay.ResetWrites();
    KeptMessages messages;
    Installation dry_run = installation.Staged(overlay);
    const Reply shown = tool.Open(dry_run, user);
    if (shown.outcome != Outcome::kDone) {
      problems.push_back({shown.path, shown.said.empty() ? Said() : shown.said.back()});
      return Checked({}, problems);
    }
    const Reply run = tool.Run(user, password, messages);
    if (run.outcome == Outcome::kDone) return Checked({}, problems);
    // A refusal, or a backup that could not be made: nothing to learn past it.
    if (run.reason() != Say::kStoppedByError) return Checked(messages.kept, problems);
    // The error names the file it is about.
    const Path path = run.error.path;
    const bool seen = std::any_of(problems.begin(), problems.end(), [&](const PreflightProblem& p) {
      return p.path.Normal() == path.Normal();
    });
    // The record is the dry run's own, never the upgrade's.
    Said told = run.said.back();
    told.record = Path();
    problems.push_back({path, std::move(told)});
    // The stand-in did not help: nothing more to learn.
    if (seen) return Checked({}, problems);
    if (run.error.kind == StatusKind::kFolderUnreadable) {
      overlay.SubstituteEmptyFolder(path);
    } else {
      overlay.Substitute(path, Substitute(path, tool.user()));
    }
  }
  return Checked({}, problems);
}

}  // namespace

Reply CheckUser(Installation& installation, const std::string& user, const std::string& password,
                DryRun& dry_run, std::vector<PreflightProblem>* problems) {
  problems->clear();
  Reply reply = CheckRounds(installation, user, password, dry_run, problems);
  // Whether the scheduler is open on another PC cannot be checked from
  // here: a note, not a problem.
  if (installation.platform().OnNetworkDrive(installation.folder())) {
    reply.said.insert(reply.said.begin(), Said{Say::kOtherPcsNote});
  }
  return reply;
}

}  // namespace dayledger
