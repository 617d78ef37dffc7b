// UpgradeTool's backup: a copy of the user's folder before the stages start,
// made beside the earlier backup and put in its place only when whole.
#include "floor/copy_tree.h"
#include "floor/words.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

// What a failed backup tells: which file and why. Skipping the backup is
// advised only where it could help: not when a file of the user's cannot be
// read (the upgrade reads it too), nor when the disk is full. The half copy
// is taken away again, so it keeps no room, and the earlier backup stays
// as it was; where the half copy could not be taken away, the words say so.
std::string UpgradeTool::BackupFailure(const Status& copied, const Status& removed) {
  const FolderSwap swap = installation_.BackupSwapOf(state_.UserName);
  // A file of the new copy is named where it belongs, in the backup.
  Path path = copied.path;
  if (swap.made.Holds(path)) {
    const std::string relative = swap.made.RelativeOf(path);
    path = relative.empty() ? swap.current : swap.current / relative;
  }
  const std::string reason = ReasonLines(platform_, copied.path, copied.code);
  const std::string file = platform_.Shown(path);
  const std::string kept =
      removed.ok() ? "" : Words(Say::kPartialBackupKept) + platform_.Shown(swap.made);
  if (copied.kind == StatusKind::kReadFailed || copied.kind == StatusKind::kNotFound) {
    return Words(Say::kBackupReadFailed) + file + kept + reason;
  }
  if (copied.kind != StatusKind::kNoSpace) {
    return std::string(Words(Say::kBackupFailed)).append("\n").append(Words(Say::kFileNamed)).append(file) +
           kept + reason;
  }
  const std::string left = removed.ok() ? Words(Say::kPartialBackupRemoved) : kept;
  return Words(Say::kBackupDiskFull) + platform_.Shown(swap.current) + left + reason;
}

Reply UpgradeTool::Backup(bool skip_backup) {
  return Recorded(Guarded(platform_, [&]() -> Reply {
    // A new run starts from the disk as it is, never from an earlier run's changes.
    staged_.reset();
    // The operator's choice as it stands now, not at the click.
    if (skip_backup) {
      AddLog(Words(Say::kLogBackupSkipped));
    } else {
      const FolderSwap swap = installation_.BackupSwapOf(state_.UserName);
      // What an interrupted backup left is settled first; then the copy is
      // made whole beside the earlier backup, which it replaces whole.
      Status copied = SettleSwap(platform_, swap);
      if (copied.ok()) copied = CopyTreeAs(platform_, state_.UserDir(), swap.made);
      if (copied.ok()) copied = ReplaceFolder(platform_, swap);
      if (!copied.ok()) {
        const Status removed = RemoveTree(platform_, swap.made);
        Reply failed;
        failed.outcome = Outcome::kStopped;
        failed.notices.push_back({BackupFailure(copied, removed), NoticeKind::kError});
        return failed;
      }
      AddLog(Words(Say::kLogBackupDone));
    }
    state_.UpgradeState = Stage::kReadProfile;
    Reply reply;
    reply.next = Next::kStage;
    return reply;
  }));
}

}  // namespace dayledger
