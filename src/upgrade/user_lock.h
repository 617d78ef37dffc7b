// The lock that lets only one program at a time change a user's folder:
// an upgrade holds it from its start checks to the end of its commit, a
// restore and recovery while they change the folder. It lives in the tool's
// own folder, upgrade_backup, never in the user's folder, which holds the
// scheduler's files and nothing of ours.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace dayledger {

// AppDir\upgrade_backup\<user>.lock: next to the user's backup, not in it.
std::string UserLockPath(const std::string& app_dir, const std::string& user_name);

// Takes the lock of the user (CP949 name), creating upgrade_backup when it
// is first needed; kBusy when another holds it, kUnavailable when the lock
// file cannot be opened.
LockResult LockUser(Platform& platform, const std::string& app_dir, const std::string& user_name,
                    std::unique_ptr<FileLock>* lock);

// Removes the lock files nobody holds (left by a killed program on a system
// that cannot delete a file as its holder dies, or by an earlier build).
void RemoveStaleLocks(Platform& platform, const std::string& app_dir);

// Whether another program holds the lock now. Creates no file: a user never
// locked has no lock file, and nobody upgrading it.
bool UserBusy(Platform& platform, const std::string& app_dir, const std::string& user_name);

}  // namespace dayledger
