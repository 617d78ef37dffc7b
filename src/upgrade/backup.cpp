// UpgradeTool's backup: a copy of the user's folder before the stages start.
#include "platform/copy_tree.h"
#include "upgrade/error_report.h"
#include "upgrade/texts.h"
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
    AddLog("데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.");
  } else {
    const std::string from = state_.AppDir + "users\\" + state_.UserName + "\\";
    if (!CopyTree(platform_, from, state_.AppDir + "upgrade_backup\\").ok()) {
      Reply failed;
      failed.outcome = Outcome::kStopped;
      failed.notices.push_back({texts::kBackupFailed, kMbError});
      return failed;
    }
    AddLog("기존 파일들 백업 완료.");
  }
  state_.UpgradeState = Stage::kReadProfile;
  Reply reply;
  reply.next = Next::kStage;
  return reply;
}

}  // namespace dayledger
