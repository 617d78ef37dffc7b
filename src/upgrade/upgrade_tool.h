// The upgrade itself, free of any window: its verbs read the user list, show
// a user, run the start checks, take the backup and run the next stage. Each
// returns what happened as a Reply; a front end decides from it alone. The
// verbs live in user_selection.cpp (list and user), start_checks.cpp,
// backup.cpp and driver.cpp (the stages).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "commit/overlay_platform.h"
#include "floor/installation.h"
#include "floor/reply.h"
#include "floor/run_record.h"
#include "floor/start_check_list.h"
#include "floor/version_steps.h"
#include "platform/platform.h"
#include "schedule/stage_context.h"
#include "schedule/unlocked_user.h"
#include "state/unit_state.h"
#include "upgrade/upgrade_port.h"

namespace dayledger {

struct StartRequest {
  std::string user;             // the user's name as listed (CP949); empty for none
  std::string password;         // UTF-8; checked when the user's data is encrypted
  bool skip_backup = false;     // the operator chose to skip the backup
  bool skip_confirmed = false;  // ... and said yes to the question about it
  // The scheduler is closed on every PC that uses an installation on a
  // network drive: the operator said so.
  bool others_closed = false;
  // The upgrade itself, or its dry run in the pre-flight check.
  Verb verb = Verb::kUpgrade;
  // In a run over several users: what the installation's checks answered.
  InstallationVerdict* verdict = nullptr;
};

class UpgradeTool : public StageObserver {
 public:
  // `port` receives the log as it is written; the run walks `chain`.
  UpgradeTool(Installation& installation, UpgradePort& port,
              const VersionChain& chain = VersionChain::Standard());

  // Reads the user list; refused when there is none. users() holds the
  // names read, also those read before an error.
  Reply LoadUsers();
  const std::vector<std::string>& users() const { return shown_names_; }  // UTF-8
  // The name (CP949) at a row of the list as read, as a window lists it;
  // empty for a row not there.
  std::string NameAt(int row) const;
  // Reads the profile of the user named `user` (CP949; nobody when empty or
  // not listed); the reply's view is what to show.
  Reply ShowUser(const std::string& user);
  // The start checks; done means the backup is due (Next::kBackup).
  Reply Start(const StartRequest& request);
  // The backup, or its skipping; done means the stages are due.
  Reply Backup(bool skip_backup);
  // Runs the stage that is due. The last one commits
  // everything and reports `finished`.
  Reply RunStage();

  // The stage work's notes, in the log's words.
  void Note(StageNote note, int year) override;
  void Progress(LongWork work, int done, int total) override;

  // The user the start checks unlocked (the check's stand-ins are written in
  // its form); it hands out no key.
  const UnlockedUser& user() const { return user_; }

 private:
  // "[hh:mm:ss]" and the note's words into the progress log and the run's record.
  void AddLog(const Said& note);
  // A note of `say` with one fact: a version, a year.
  void AddLog(Say say, const std::string& fact);
  // The reply, noted in the run's record; a run that ended closes the
  // record, and a stopped run's message names it.
  Reply Recorded(Reply reply);
  // What the profile says of starting: refused at the target version or at
  // one no step leads from.
  Reply VersionRefusal(const Profile& profile) const;
  // The same, then the password, which unlocks the user into `unlocked`.
  Reply Decide(const Profile& profile, const std::string& password, UnlockedUser* unlocked) const;
  // Under the user's lock, which it asks for: the user list and profile
  // read again, decided on, and the user unlocked for the stages.
  Reply DecideUnderLock(const UserLock& lock, const std::string& password);
  // The user list and the user's profile read again, as they are now; the
  // reply shows the user as found, or refuses a user gone from the list or
  // a profile changed so that the user cannot be started.
  Reply ReadAgain();
  // The view of the disk the stages work on: their changes stay in memory
  // until the profile stage commits them all.
  Platform& Staged();
  void ReadProfileStage();
  void DetectAnniversaryVersion();
  // Runs the due version steps of one stage, `data` naming it in the log,
  // letting the window catch up after each; all done moves on to `next_stage`.
  void RunSteps(const StageContext& ctx, StageWork VersionStep::*work, Say data, Stage next_stage);
  Reply SaveProfileStage();

  Installation& installation_;
  Platform& platform_;
  UpgradePort& port_;
  const VersionChain& chain_;
  UnitState state_;
  UnlockedUser user_;                     // the user the start checks unlocked, with its key
  std::vector<std::string> user_names_;   // CP949, in the list's order
  std::vector<std::string> shown_names_;  // the same, UTF-8
  std::unique_ptr<OverlayPlatform> staged_;
  // Held from the start checks until the run ends, or until the tool goes.
  UserLock lock_;
  RunRecord record_;  // from the start checks passed to the run's end
};

}  // namespace dayledger
