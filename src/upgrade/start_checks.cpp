// UpgradeTool's start checks: what must hold before anything is copied.
#include <algorithm>

#include "floor/start_check_list.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "state/file_names.h"
#include "state/version_code.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {
Reply UpgradeTool::VersionRefusal(const Profile& profile) const {
  if (profile.Version() == state_.TargetVersion) {
    return Reply::Refused({Say::kAlreadyLatest});
  }
  // No step leads from an unknown version; refuse before anything changes.
  if (!chain_.StepFrom(profile.Version())) {
    return Reply::Refused({Say::kUnsupportedVersion});
  }
  return Reply();
}

Reply UpgradeTool::Decide(const Profile& profile, const std::string& password,
                          UnlockedUser* unlocked) const {
  if (Reply refused = VersionRefusal(profile); refused.outcome != Outcome::kDone) return refused;
  Result<UnlockedUser> user =
      UnlockedUser::Unlock(profile, state_.UserName, state_.UserDir(), Utf8ToCp949Text(password));
  if (!user.ok()) {
    return Reply::Refused({Say::kWrongPassword, NoticeKind::kError});
  }
  *unlocked = std::move(*user);
  return Reply();
}

Reply UpgradeTool::DecideUnderLock(const UserLock& lock, const std::string& password) {
  // Only this user's lock, held, guards what is read here.
  if (!lock.held() || lock.user() != state_.UserName) {
    return Reply::Refused({Say::kSelectUser});
  }
  Reply decided = ReadAgain();
  if (decided.outcome != Outcome::kDone) return decided;
  const std::optional<UserView> view = decided.view;
  UnlockedUser unlocked;
  decided = Decide(state_.UserProfile, password, &unlocked);
  decided.view = view;
  // A refusal leaves the user unlocked before, if any, as it was.
  if (decided.outcome == Outcome::kDone) user_ = std::move(unlocked);
  return decided;
}

Reply UpgradeTool::ReadAgain() {
  // Another program (the terminal program, the tool on another PC of the
  // office) may have changed the user since the window showed it.
  const Result<UserList> users = installation_.Users();
  if (!users.ok() || !users->error.ok() ||
      std::find(users->names.begin(), users->names.end(), state_.UserName) == users->names.end()) {
    return Reply::Refused({Say::kSelectUser});
  }
  Profile profile = Profile::Read(platform_, state_.UserDir());
  if (!profile.Named()) {
    return Reply::Refused({Say::kProfileDamaged, NoticeKind::kError},
                          ProfilePath(state_.UserDir()));
  }
  state_.UserProfile = std::move(profile);
  state_.Encrypted = state_.UserProfile.Encrypted();
  Reply read;
  read.view =
      UserView{Cp949ToUtf8Text(state_.UserName), state_.UserProfile.Version(), state_.Encrypted};
  return read;
}

Reply UpgradeTool::Start(const StartRequest& request) {
  return Recorded(Guarded([&]() -> Reply {
    // The user the labels show is the one started, never an earlier one.
    if (request.user.empty() || request.user != state_.UserName) {
      return Reply::Refused({Say::kSelectUser});
    }
    if (Reply refused = RefuseUserName(installation_, state_.UserName);
        refused.outcome != Outcome::kDone) {
      return refused;
    }
    // The user as they are now, not as the window showed them: a first
    // answer, which is taken again under the lock.
    const Reply now = ReadAgain();
    if (now.outcome != Outcome::kDone) return now;
    const Profile& profile = state_.UserProfile;
    if (Reply refused = VersionRefusal(profile); refused.outcome != Outcome::kDone) {
      refused.view = now.view;
      return refused;
    }
    if (request.skip_backup && !request.skip_confirmed) {
      return Reply::Asked({Say::kSkipBackupQuestion}, Question::kSkipBackup);
    }
    // A first answer, before any question about the PC; decided again under the lock.
    UnlockedUser first;
    if (Reply decided = Decide(profile, request.password, &first);
        decided.outcome != Outcome::kDone) {
      decided.view = now.view;
      return decided;
    }
    // What the PC is doing that the upgrade cannot live with is refused before
    // anything is made, copied or locked, so the operator can put it right and
    // press the button again; the questions among the checks are asked here.
    const std::string& user = state_.UserName;
    StartScene scene{installation_, user, !request.skip_backup,
                     chain_.MergesMonthsFrom(profile.Version())};
    scene.others_closed = request.others_closed;
    scene.verdict = request.verdict;
    UserLock lock;
    if (Reply refused = ClearToStart(request.verb, scene, &lock);
        refused.outcome != Outcome::kDone) {
      return refused;
    }
    // Another program cut short since this one opened left its change:
    // finished or undone first, or nothing goes on.
    if (const Status recovered = installation_.RecoverUser(lock); !recovered.ok()) {
      installation_.Release(&lock);
      throw FrameworkError(recovered);
    }
    // Everything decided on is read again under the lock; a refusal then
    // leaves the disk as it found it, the lock's folders included.
    if (Reply decided = DecideUnderLock(lock, request.password);
        decided.outcome != Outcome::kDone) {
      installation_.Release(&lock);
      return decided;
    }
    lock_ = std::move(lock);
    // Past the checks the run leaves a record, whatever happens next.
    record_ = RunRecord::Begin(installation_, user, Words(Say::kRecordUpgrade));
    AddLog(Say::kLogUpgradeStarting);
    AddLog(Say::kLogBackingUp);
    // The user's backup folder is there from the start, empty while the
    // backup is skipped.
    IgnoreFailure(platform_.CreateDirectory(installation_.BackupOf(user)),
                  "or it is there already; the backup says when it cannot be made");
    Reply reply;
    reply.next = Next::kBackup;
    return reply;
  }));
}

}  // namespace dayledger
