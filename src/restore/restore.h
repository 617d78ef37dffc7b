// Puts a user's backup back as the user's folder: the way back after an
// upgrade, as a command instead of folders replaced by hand.
#pragma once

#include <string>
#include <vector>

#include "floor/installation.h"
#include "floor/reply.h"

namespace dayledger {

// The user's name and the codes are CP949.
struct RestorePlan {
  std::string user_name;
  Path user_dir;
  Path backup_dir;
  Path aside_dir;               // where the current folder is kept (empty: nowhere yet)
  std::string backup_version;   // the backup profile's data version code
  std::string current_version;  // the current profile's; empty when unreadable
};

// What restoring `user_name` would do, found as the plan. kRefused when
// there is no backup (the notice names its folder) or the backup has no
// readable profile (the notice names it).
Reply PlanRestore(Installation& installation, const std::string& user_name, RestorePlan* plan);

// Keeps a flushed copy of the current folder among the user's kept copies,
// at aside_dir where that is still free under the lock and at a free name
// otherwise, which aside_dir then names; then gives the
// user's folder the backup's content in one commit, with the upgrade's
// commit and recovery: at every moment the folder is the current one or the
// restored one. Holds the user's lock throughout and changes nothing when
// it cannot take it: kRefused when another program holds it or it cannot be
// taken (the notice names the lock file), as the upgrade's start refuses
// them; kAsk when the installation lies on a network drive and the operator
// has not said (`others_closed`) that the scheduler is closed on every PC;
// kStopped when an error ended the restore (the error report). The backup
// is planned again under the lock, and a refusal then leaves the
// installation as it was, folders included. `undeleted` gets the files and
// folders that could not be deleted.
Reply Restore(Installation& installation, RestorePlan* confirmed, std::vector<Path>* undeleted,
              bool others_closed = false);

}  // namespace dayledger
