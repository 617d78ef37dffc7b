#include "digest/sha1.h"
#include "state/version_code.h"
#include "upgrade/texts.h"
#include "upgrade/upgrade_tool.h"
#include "upgrade/user_lock.h"

namespace dayledger {

void UpgradeTool::Button1Click() {
  // The user the labels show is the one started, never an earlier one.
  const int index = port_.SelectedUser();
  if (index < 0 || index >= static_cast<int>(user_names_.size()) ||
      user_names_[static_cast<size_t>(index)] != state_.UserName) {
    Message(texts::kSelectUser, kMbInformation);
    return;
  }
  if (!IsSafeUserName(state_.UserName)) {
    Message(texts::kProfileDamaged, kMbError);
    return;
  }
  const LineList& profile = state_.ProfileLines;
  if (profile.Get(1) == state_.TargetVersion) {
    Message(texts::kAlreadyLatest, kMbInformation);
    return;
  }
  // No step leads from an unknown version; refuse before anything changes.
  if (!FirstStepFor(profile.Get(1))) {
    Message(texts::kUnsupportedVersion, kMbInformation);
    return;
  }
  if (port_.SkipBackupChecked() && Message(texts::kSkipBackupQuestion, kMbQuestionYesNo) == kIdNo) {
    return;
  }
  if (profile.Get(9) == "1") {
    const std::string password = platform_.Utf8ToCp949(port_.Password());
    if (IteratedHexDigest(password, 5) != profile.Get(8)) {
      Message(texts::kWrongPassword, kMbError);
      port_.SelectPasswordAndFocus();
      return;
    }
    // The data key is one hex-digest step short of the stored digest.
    state_.DataKey = IteratedHexDigest(password, 4);
  }
  // One upgrade of a user at a time, in this window or in any other program.
  std::unique_ptr<FileLock> lock;
  switch (LockUser(platform_, state_.AppDir, state_.UserName, &lock)) {
    case LockResult::kLocked:
      break;
    case LockResult::kBusy:
      Message(texts::kUserBusy, kMbInformation);
      return;
    case LockResult::kUnavailable:
      Message(texts::kLockUnavailable +
                  platform_.Cp949ToUtf8(UserLockPath(state_.AppDir, state_.UserName)),
              kMbError);
      return;
  }
  lock_ = std::move(lock);
  AddLog("사용자 정보 업그레이드를 시작합니다.");
  port_.SetInputEnabled(false);
  AddLog("기존 파일들을 백업중입니다.");
  platform_.CreateDirectory(state_.AppDir + "\\upgrade_backup");
  platform_.CreateDirectory(state_.AppDir + "\\upgrade_backup\\" + state_.UserName);
  port_.SetBackupTimer(true);
}

}  // namespace dayledger
