// Puts a user's backup back as the user's folder: the way back after an
// upgrade, as a command instead of folders replaced by hand.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace dayledger {

// Tool paths and codes are CP949.
struct RestorePlan {
  std::string app_dir;
  std::string user_name;
  std::string user_dir;
  std::string backup_dir;
  std::string aside_dir;        // where the current folder is kept
  std::string backup_version;   // the backup profile's data version code
  std::string current_version;  // the current profile's; empty when unreadable
};

// What restoring `user_name` would do; nullopt with `refusal` when there is
// no backup (kNotFound, the backup's folder) or the backup has no readable
// profile (kReadFailed, the profile).
std::optional<RestorePlan> PlanRestore(Platform& platform, const std::string& app_dir,
                                       const std::string& user_name, IoStatus* refusal);

// Keeps a flushed copy of the current folder at aside_dir, then gives the
// user's folder the backup's content in one commit, with the upgrade's
// commit and recovery: at every moment the folder is the current one or the
// restored one. Holds the user's lock throughout; changes nothing when it
// cannot take it. Throws FrameworkError.
struct RestoreResult {
  LockResult lock = LockResult::kLocked;
  std::vector<std::string> undeleted;  // files and folders that could not be deleted
};
RestoreResult Restore(Platform& platform, const RestorePlan& plan);

}  // namespace dayledger
