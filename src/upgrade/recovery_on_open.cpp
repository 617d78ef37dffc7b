#include "upgrade/recovery_on_open.h"

#include "commit/commit.h"
#include "platform/work_files.h"
#include "upgrade/error_report.h"
#include "upgrade/texts.h"
#include "upgrade/user_lock.h"

namespace dayledger {
namespace {

std::string ActionText(RecoveryAction action) {
  switch (action) {
    case RecoveryAction::kRolledForward:
      return "중단되었던 변경의 저장을 마저 완료하였습니다.";
    case RecoveryAction::kRolledBack:
      return "중단되었던 변경을 취소하여 변경 전의 데이터로 두었습니다.";
    case RecoveryAction::kCleaned:
      return "이전 실행에서 남은 임시 파일을 정리하였습니다.";
    case RecoveryAction::kNone:
      break;
  }
  return "";
}

}  // namespace

std::string RecoveryMessage(const std::vector<std::string>& notes) {
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
  return text;
}

std::vector<std::string> RecoverInstallation(Platform& platform, const std::string& app_dir) {
  std::vector<std::string> notes;
  const std::string users = app_dir + "\\users";
  const auto entries = platform.ListFolder(users);
  if (!entries) return notes;
  for (const FolderEntry& entry : *entries) {
    if (!entry.folder) continue;
    const std::string who = " (사용자 : " + platform.Cp949ToUtf8(entry.name) + ")";
    const std::string folder = users + "\\" + entry.name;
    // A folder without work files is left untouched; one whose lock is held
    // belongs to a live upgrade, whose journal must never be touched. An
    // earlier build kept its lock in the user's folder: that file goes too,
    // but only while this program holds it, never from under its holder.
    if (!HasWorkFiles(platform, folder)) continue;
    std::unique_ptr<FileLock> lock;
    std::unique_ptr<FileLock> old_lock;
    const LockResult locked = LockUser(platform, app_dir, entry.name, &lock);
    const std::string old_lock_path = folder + "\\" + kLockName;
    if (locked == LockResult::kBusy ||
        (locked == LockResult::kLocked && platform.Inspect(old_lock_path) == PathKind::kFile &&
         platform.LockFile(old_lock_path, &old_lock) == LockResult::kBusy)) {
      notes.push_back("다른 곳에서 이 사용자의 데이터를 바꾸는 중이어서 복구하지 않았습니다." +
                      who);
      continue;
    }
    if (locked != LockResult::kLocked) {
      notes.push_back(std::string(texts::kLockUnavailable) +
                      platform.Cp949ToUtf8(UserLockPath(app_dir, entry.name)) + who);
      continue;
    }
    try {
      const RecoveryReport report = RecoverFolder(platform, folder);
      if (report.action != RecoveryAction::kNone) notes.push_back(ActionText(report.action) + who);
      for (const std::string& path : report.undeleted) {
        notes.push_back(" - 삭제하지 못한 파일 : " + platform.Cp949ToUtf8(path));
      }
    } catch (const FrameworkError& error) {
      notes.push_back("중단되었던 변경을 정리하지 못했습니다." + who + " " +
                      ReportedText(platform, error));
    }
  }
  return notes;
}

}  // namespace dayledger
