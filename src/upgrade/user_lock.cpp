#include "upgrade/user_lock.h"

#include "platform/work_files.h"

namespace dayledger {

LockResult LockUser(Platform& platform, const std::string& user_dir,
                    std::unique_ptr<FileLock>* lock) {
  return platform.LockFile(user_dir + "\\" + kLockName, lock);
}

bool UserBusy(Platform& platform, const std::string& user_dir) {
  if (platform.Inspect(user_dir + "\\" + kLockName) != PathKind::kFile) return false;
  std::unique_ptr<FileLock> probe;
  return LockUser(platform, user_dir, &probe) == LockResult::kBusy;
}

}  // namespace dayledger
