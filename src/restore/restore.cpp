// The restore of a user's backup, planned and then committed.
#include "restore/restore.h"

#include "commit/commit.h"
#include "commit/overlay_platform.h"
#include "floor/copy_tree.h"
#include "floor/run_record.h"
#include "floor/start_check_list.h"
#include "floor/words.h"
#include "platform/framework_error.h"
#include "platform/path.h"
#include "state/file_names.h"
#include "state/profile.h"

namespace dayledger {
namespace {

// A name among the user's kept copies that no earlier restore has taken:
// the time of the restore, numbered where that second has one already.
Result<Path> FreeKeptName(Platform& platform, const Path& kept) {
  const std::string stamp = "before-restore-" + RecordStamp(platform.Now());
  for (int n = 1;; ++n) {
    const Path name = Numbered(kept, stamp, n);
    const Result<PathKind> there = platform.Inspect(name);
    if (!there.ok()) return there.status();
    if (*there == PathKind::kMissing) return name;
  }
}

// Keeps a whole, flushed copy of the user's folder among the kept copies,
// at `*kept` where that is still free, else at a free name it puts there. The
// copy is made in a place of its own first, so that a cut leaves no half
// copy that looks whole; the opening removes such a one.
void KeepCopy(Installation& installation, const std::string& user, const Path& user_dir,
              Path* kept) {
  Platform& platform = installation.platform();
  const Path keeping = installation.PlaceOf(ToolPlace::kKeeping, user);
  const Path kept_folder = installation.PlaceOf(ToolPlace::kKept, user);
  ThrowIfFailed(RemoveTree(platform, keeping));
  ThrowIfFailed(installation.MakePlace(ToolPlace::kKeeping));
  ThrowIfFailed(installation.MakePlace(ToolPlace::kKept));
  const Result<PathKind> kept_there = platform.Inspect(kept_folder);
  ThrowIfFailed(kept_there.status());
  if (*kept_there != PathKind::kFolder) {
    ThrowIfFailed(platform.CreateDirectory(kept_folder));
    ThrowIfFailed(platform.SyncFolder(kept_folder.Parent()));
  }
  // A file that cannot be read is named as such, one that cannot be made
  // as such.
  if (const Status copied = CopyTreeAs(platform, user_dir, keeping); !copied.ok()) {
    // A half copy is no copy to keep; one left goes at the next opening.
    IgnoreFailure(RemoveTree(platform, keeping), "the next opening removes it");
    const bool read = copied.kind == StatusKind::kReadFailed ||
                      copied.kind == StatusKind::kFolderUnreadable ||
                      copied.kind == StatusKind::kNotFound;
    throw read ? CannotOpenFile(copied.path, copied.code)
               : CannotCreateFile(copied.path, copied.code);
  }
  // Chosen under the lock: never a name another restore has kept a copy at.
  const Result<PathKind> taken =
      kept->empty() ? Result<PathKind>(PathKind::kFolder) : platform.Inspect(*kept);
  if (!taken.ok() || *taken != PathKind::kMissing || kept->Parent() != kept_folder) {
    const Result<Path> free = FreeKeptName(platform, kept_folder);
    ThrowIfFailed(free.status());
    *kept = *free;
  }
  ThrowIfFailed(platform.RenameFile(keeping, *kept));
  ThrowIfFailed(platform.SyncFolder(kept_folder));
  ThrowIfFailed(platform.SyncFolder(keeping.Parent()));
}

// Stages the removal of what the current folder holds and the backup does
// not: files, and folders with everything in them. Without `backup` all goes.
void StageRemovals(OverlayPlatform& staged, Platform& disk, const Path& current,
                   const std::optional<Path>& backup) {
  const Result<std::vector<FolderEntry>> listed = staged.ListFolder(current);
  if (!listed.ok()) throw CannotOpenFolder(current, listed.status().code);
  for (const FolderEntry& entry : *listed) {
    if (IsWorkFile(entry.name)) continue;
    const Path path = current / entry.name;
    std::optional<Path> counterpart;
    if (backup) counterpart = *backup / entry.name;
    // A counterpart that cannot be looked at is never taken for missing.
    const Result<PathKind> kept = counterpart ? disk.Inspect(*counterpart) : PathKind::kMissing;
    if (!kept.ok()) ThrowIfFailed(kept.status());
    if (!entry.folder) {
      if (*kept != PathKind::kFile) ThrowIfFailed(staged.DeleteFile(path));
      continue;
    }
    if (*kept != PathKind::kFolder) counterpart.reset();
    StageRemovals(staged, disk, path, counterpart);
    if (!counterpart) ThrowIfFailed(staged.RemoveFolder(path));
  }
}

// Stages the backup's content wherever the current folder differs from it.
void StageBackup(OverlayPlatform& staged, Platform& disk, const Path& backup, const Path& current) {
  const Result<std::vector<FolderEntry>> listed = disk.ListFolder(backup);
  if (!listed.ok()) throw CannotOpenFolder(backup, listed.status().code);
  for (const FolderEntry& entry : *listed) {
    if (IsWorkFile(entry.name)) continue;
    const Path source = backup / entry.name;
    const Path target = current / entry.name;
    if (entry.folder) {
      const Result<PathKind> there = staged.Inspect(target);
      if (!there.ok() || (*there != PathKind::kFolder && !staged.CreateDirectory(target).ok())) {
        throw CannotCreateFile(target, there.status().code);
      }
      StageBackup(staged, disk, source, target);
      continue;
    }
    std::string wanted, present;
    ThrowIfFailed(disk.ReadFile(source, &wanted));
    if (!staged.ReadFile(target, &present).ok() || present != wanted) {
      WriteFileOrThrow(staged, target, wanted);
    }
  }
}

}  // namespace

Reply PlanRestore(Installation& installation, const std::string& user_name, RestorePlan* planned) {
  Platform& platform = installation.platform();
  RestorePlan& plan = *planned;
  plan = RestorePlan();
  plan.user_name = user_name;
  if (Reply refused = RefuseUserName(installation, user_name); refused.outcome != Outcome::kDone) {
    return refused;
  }
  plan.user_dir = installation.UserFolder(user_name).Normal();
  plan.backup_dir = installation.BackupOf(user_name);
  // A backup that cannot be looked at is read all the same, and its read says why.
  const Result<PathKind> backup_there = platform.Inspect(plan.backup_dir);
  if (backup_there.ok() && *backup_there != PathKind::kFolder) {
    return Told(Outcome::kRefused, Say::kNoBackupToRestore, plan.backup_dir);
  }
  const Result<Profile> backup = Profile::ReadWhole(platform, plan.backup_dir);
  if (!backup.ok()) {
    return Told(Outcome::kRefused, Say::kBackupProfileUnreadable, ProfilePath(plan.backup_dir));
  }
  plan.backup_version = backup->Version();
  const Result<Profile> current = Profile::ReadWhole(platform, plan.user_dir);
  plan.current_version = current.ok() ? current->Version() : "";
  // The name the copy would be kept at now; the restore chooses it again
  // under the lock.
  const Result<Path> kept =
      FreeKeptName(platform, installation.PlaceOf(ToolPlace::kKept, user_name));
  if (kept.ok()) plan.aside_dir = *kept;
  return Reply();
}

namespace {

// Everything the restore decides on and changes, under the user's lock,
// which it asks for: the backup is looked at again (another program may
// have changed it since the plan was shown), the current folder is copied
// aside, and the backup's content is committed.
Reply RestoreUnderLock(Installation& installation, UserLock& lock, Path* aside_dir,
                       RunRecord* record, std::vector<Path>* undeleted) {
  Platform& platform = installation.platform();
  // Another program cut short since this one opened left its change:
  // finished or undone first, or nothing goes on.
  if (const Status recovered = installation.RecoverUser(lock); !recovered.ok()) {
    throw FrameworkError(recovered);
  }
  RestorePlan plan;
  if (Reply planned = PlanRestore(installation, lock.user(), &plan);
      planned.outcome != Outcome::kDone) {
    // A refusal leaves the installation as it was, folders included.
    installation.Release(&lock);
    return planned;
  }
  plan.aside_dir = *aside_dir;
  *record = RunRecord::Begin(installation, plan.user_name, Words(Say::kRecordRestore));
  // The current folder is copied aside first, so the restore loses nothing.
  const Result<PathKind> current = platform.Inspect(plan.user_dir);
  ThrowIfFailed(current.status());
  if (*current == PathKind::kFolder) {
    KeepCopy(installation, plan.user_name, plan.user_dir, &plan.aside_dir);
    *aside_dir = plan.aside_dir;
    record->Line(
        StampedLine(platform.Now(), Words(Say::kKeptAside) + platform.Shown(plan.aside_dir)));
  } else {
    ThrowIfFailed(platform.CreateDirectory(plan.user_dir));
    ThrowIfFailed(platform.SyncFolder(plan.user_dir.Parent()));
  }
  OverlayPlatform staged(&platform);
  StageRemovals(staged, platform, plan.user_dir, plan.backup_dir);
  StageBackup(staged, platform, plan.backup_dir, plan.user_dir);
  *undeleted = CommitChanges(platform, plan.user_dir, staged);
  for (const Path& path : *undeleted) {
    record->Line(StampedLine(platform.Now(), Words(Say::kLogUndeleted) + platform.Shown(path)));
  }
  record->Line(StampedLine(platform.Now(), Words(Say::kRestored)));
  return Reply();
}

}  // namespace

Reply Restore(Installation& installation, RestorePlan* confirmed, std::vector<Path>* undeleted,
              bool others_closed) {
  undeleted->clear();
  RunRecord record;  // from the lock taken on
  Reply reply = Guarded([&]() -> Reply {
    // The same checks as the upgrade's, but those of replacing files in place.
    StartScene scene{installation, confirmed->user_name};
    scene.others_closed = others_closed;
    UserLock lock;
    if (Reply refused = ClearToStart(Verb::kRestore, scene, &lock);
        refused.outcome != Outcome::kDone) {
      return refused;
    }
    return RestoreUnderLock(installation, lock, &confirmed->aside_dir, &record, undeleted);
  });
  record.End(&reply);
  return reply;
}

}  // namespace dayledger
