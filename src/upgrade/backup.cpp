// UpgradeTool's backup: a copy of the user's folder before the stages start.
#include "texts/texts.h"
#include "upgrade/copy_tree.h"
#include "upgrade/error_report.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

// What a failed backup tells: which file and why. Skipping the backup is
// advised only where it could help: not when a file of the user's cannot be
// read (the upgrade reads it too), nor when the disk is full. A half copy
// in a folder of this run's own is taken away again after a full disk, so
// it does not keep the room it took; an earlier backup is left as it is.
std::string UpgradeTool::BackupFailure(const IoStatus& copied) {
  const std::string reason = ReasonLines(platform_, copied.path, copied.code);
  const std::string file = platform_.Shown(copied.path);
  if (copied.error == IoError::kReadFailed || copied.error == IoError::kNotFound) {
    return texts::kBackupReadFailed + file + reason;
  }
  if (copied.error != IoError::kNoSpace) {
    return std::string(texts::kBackupFailed).append("\n").append(texts::kFileNamed).append(file) +
           reason;
  }
  const Path folder = installation_.BackupOf(state_.UserName);
  std::string text = texts::kBackupDiskFull + platform_.Shown(folder);
  if (backup_folder_made_) {
    RemoveTree(platform_, folder);
    text += texts::kPartialBackupRemoved;
  }
  return text + reason;
}

Reply UpgradeTool::Backup(bool skip_backup) {
  return Recorded(Guarded(platform_, [&]() -> Reply {
    // A new run starts from the disk as it is, never from an earlier run's changes.
    staged_.reset();
    // The operator's choice as it stands now, not at the click.
    if (skip_backup) {
      AddLog(texts::kLogBackupSkipped);
    } else {
      const IoStatus copied = CopyTree(platform_, state_.UserDir(), installation_.BackupRoot());
      if (!copied.ok()) {
        Reply failed;
        failed.outcome = Outcome::kStopped;
        failed.notices.push_back({BackupFailure(copied), NoticeKind::kError});
        return failed;
      }
      AddLog(texts::kLogBackupDone);
    }
    state_.UpgradeState = Stage::kReadProfile;
    Reply reply;
    reply.next = Next::kStage;
    return reply;
  }));
}

}  // namespace dayledger
