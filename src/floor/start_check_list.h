// The checks a command makes on the PC before it changes or checks a user's
// folder, in one order, each with the commands it applies to and whom it is
// about: the installation, or the one user. The upgrade, the restore and
// the pre-flight check all walk this list, and then take the user's lock.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "floor/installation.h"
#include "floor/reply.h"
#include "platform/platform.h"

namespace dayledger {

// The commands that walk the list.
enum class Verb { kUpgrade, kRestore, kCheck };

// What the installation's checks answered in a run over several users:
// asked for the first user that gets to them, and taken as answered for the
// others, so that a question about the PC comes once.
struct InstallationVerdict {
  std::optional<Reply> reply;  // kDone or their refusal; none before they were asked
};

// What the checks look at.
struct StartScene {
  Installation& installation;
  std::string user;           // the user's folder name (CP949)
  bool with_backup = true;    // the upgrade makes a backup first
  bool merges_months = true;  // ... and merges the monthly schedule files
  // The operator said the scheduler is closed on every PC that uses an
  // installation on a network drive.
  bool others_closed = false;
  // The run's verdict on the installation's checks; none where the run is
  // of this one user, which asks them itself.
  InstallationVerdict* verdict = nullptr;
};

// The first refusal or question (kAsk) of the checks `verb` makes, or a
// reply of kDone with the user's lock taken into `lock` when none refused.
// A check's dry run holds a lock of its overlay, which takes nothing on the
// disk.
Reply ClearToStart(Verb verb, const StartScene& scene, UserLock* lock);

// Refuses, before anything is read or made, a user's name (CP949) the tool
// cannot hold safely: one leading out of the users' folder means a damaged
// user list, which the refusal names; one Windows cannot keep apart from
// another, or the tool's own folder's name, is named itself.
Reply RefuseUserName(const Installation& installation, const std::string& user);

}  // namespace dayledger
