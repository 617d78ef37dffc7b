#include "platform/copy_tree.h"
#include "upgrade/texts.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

int UpgradeTool::CopyFolder(const std::string& from, const std::string& to) {
  return CopyTree(platform_, from, to);
}

void UpgradeTool::Timer2Timer() {
  port_.SetBackupTimer(false);
  // A new run starts from the disk as it is, never from an earlier run's changes.
  staged_.reset();
  finished_ = false;
  // The box is read now, not at the click.
  if (port_.SkipBackupChecked()) {
    AddLog("데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.");
  } else {
    const std::string from = state_.AppDir + "users\\" + state_.UserName + "\\";
    if (CopyFolder(from, state_.AppDir + "upgrade_backup\\") != 0) {
      Message(texts::kBackupFailed, kMbError);
      return;
    }
    AddLog("기존 파일들 백업 완료.");
  }
  state_.UpgradeState = kStageReadProfile;
  port_.SetDriverTimer(true);
}

}  // namespace dayledger
