// The lock that lets only one program at a time change a user's folder:
// an upgrade holds it from its start checks to its commit, recovery while
// it finishes or undoes a commit.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace dayledger {

// Takes the lock of the user folder `user_dir`; kBusy when another holds it.
LockResult LockUser(Platform& platform, const std::string& user_dir,
                    std::unique_ptr<FileLock>* lock);

// Whether another program holds the lock now. Creates no file: a folder
// never locked has no lock file, and nobody upgrading it.
bool UserBusy(Platform& platform, const std::string& user_dir);

}  // namespace dayledger
