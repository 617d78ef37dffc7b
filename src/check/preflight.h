// The pre-flight check: runs the real upgrade of one user on a platform that
// keeps every change in memory, and collects every problem it meets instead
// of stopping at the first one.
#pragma once

#include <string>
#include <vector>

#include "floor/installation.h"
#include "floor/notice.h"
#include "floor/reply.h"
#include "schedule/unlocked_user.h"

namespace dayledger {

// The upgrade as the check plays it, one round at a time, on an
// installation whose changes stay in memory. The upgrade verb provides it,
// so the check stands on the floor alone.
class DryRun {
 public:
  virtual ~DryRun() = default;
  // Lists the users of `staged` and shows the one named `user` (CP949):
  // kDone, or the reply that stopped it. Each round opens anew.
  virtual Reply Open(Installation& staged, const std::string& user) = 0;
  // Runs that user's upgrade from its start checks to its last stage, as
  // the check's verb, with every notice kept in `notices`.
  virtual Reply Run(const std::string& user, const std::string& password, Notices& notices) = 0;
  // The user as the run unlocked it: stand-ins for broken files are written
  // as that user's own.
  virtual const UnlockedUser& user() const = 0;
};

// A file the upgrade would stop at, and what it would tell there.
struct PreflightProblem {
  Path path;
  Said said;
};

// `user` is the user's name (CP949) as the user list has it; `password` (UTF-8)
// is checked when the user's data is encrypted. kDone when the upgrade would
// go through; kRefused otherwise, with the messages of the start checks that
// said no as what it tells, and every file the upgrade would stop at found.
Reply CheckUser(Installation& installation, const std::string& user, const std::string& password,
                DryRun& dry_run, std::vector<PreflightProblem>* problems);

}  // namespace dayledger
