// UpgradeTool's backup: a copy of the user's folder before the stages start.
#include "state/file_names.h"
#include "texts/texts.h"
#include "upgrade/copy_tree.h"
#include "upgrade/error_report.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

Reply UpgradeTool::Backup(bool skip_backup) {
  return Guarded(platform_, [&] { return BackupOrThrow(skip_backup); });
}

Reply UpgradeTool::BackupOrThrow(bool skip_backup) {
  // A new run starts from the disk as it is, never from an earlier run's changes.
  staged_.reset();
  // The operator's choice as it stands now, not at the click.
  if (skip_backup) {
    AddLog(texts::kLogBackupSkipped);
  } else {
    if (!CopyTree(platform_, state_.UserDir(), BackupRoot(state_.AppDir)).ok()) {
      Reply failed;
      failed.outcome = Outcome::kStopped;
      failed.notices.push_back({texts::kBackupFailed, kMbError});
      return failed;
    }
    AddLog(texts::kLogBackupDone);
  }
  state_.UpgradeState = Stage::kReadProfile;
  Reply reply;
  reply.next = Next::kStage;
  return reply;
}

}  // namespace dayledger
