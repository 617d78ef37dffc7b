// Each user's lock beside the backups.
#include "upgrade/user_lock.h"

#include <string_view>

#include "platform/tool_path.h"
#include "state/file_names.h"

namespace dayledger {

std::string UserLockPath(const std::string& app_dir, const std::string& user_name) {
  return NormalPath(BackupFolder(app_dir, user_name) + ".lock");
}

LockResult LockUser(Platform& platform, const std::string& app_dir, const std::string& user_name,
                    std::unique_ptr<FileLock>* lock) {
  // Fails harmlessly when it exists; the lock's own open reports a folder
  // that could not be made.
  platform.CreateDirectory(NormalPath(BackupRoot(app_dir)));
  return platform.LockFile(UserLockPath(app_dir, user_name), lock);
}

void RemoveStaleLocks(Platform& platform, const std::string& app_dir) {
  const std::string root = NormalPath(BackupRoot(app_dir));
  const auto entries = platform.ListFolder(root);
  if (!entries) return;
  constexpr std::string_view kSuffix = ".lock";
  for (const FolderEntry& entry : *entries) {
    if (entry.folder || !entry.name.ends_with(kSuffix)) continue;
    // Taken and let go: a released lock takes its file with it.
    std::unique_ptr<FileLock> lock;
    platform.LockFile(root + "\\" + entry.name, &lock);
  }
}

bool UserBusy(Platform& platform, const std::string& app_dir, const std::string& user_name) {
  const std::string path = UserLockPath(app_dir, user_name);
  if (platform.Inspect(path) != PathKind::kFile) return false;
  std::unique_ptr<FileLock> probe;
  return platform.LockFile(path, &probe) == LockResult::kBusy;
}

}  // namespace dayledger
