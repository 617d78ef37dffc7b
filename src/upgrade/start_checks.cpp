// UpgradeTool's start checks: what must hold before anything is copied.
#include <optional>

#include "platform/cp949_codec.h"
#include "state/version_code.h"
#include "texts/texts.h"
#include "upgrade/error_report.h"
#include "upgrade/start_check_list.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {
namespace {

Reply Asked(const std::string& text, Question question) {
  Reply asked;
  asked.outcome = Outcome::kAsk;
  asked.question = question;
  asked.notices.push_back({text, NoticeKind::kQuestion});
  return asked;
}

}  // namespace

Reply UpgradeTool::Start(const StartRequest& request) {
  return Recorded(Guarded(platform_, [&]() -> Reply {
    // The user the labels show is the one started, never an earlier one.
    const int index = request.user;
    if (index < 0 || index >= static_cast<int>(user_names_.size()) ||
        user_names_[static_cast<size_t>(index)] != state_.UserName) {
      return Reply::Refused(texts::kSelectUser, NoticeKind::kInformation);
    }
    if (!IsSafeUserName(state_.UserName))
      return Reply::Refused(texts::kProfileDamaged, NoticeKind::kError);
    const Profile& profile = state_.UserProfile;
    if (profile.Version() == state_.TargetVersion) {
      return Reply::Refused(texts::kAlreadyLatest, NoticeKind::kInformation);
    }
    // No step leads from an unknown version; refuse before anything changes.
    if (!chain_.StepFrom(profile.Version())) {
      return Reply::Refused(texts::kUnsupportedVersion, NoticeKind::kInformation);
    }
    // A scheduler open on another PC cannot be seen from this one: the
    // operator is asked before anything else.
    if (!request.others_closed && platform_.OnNetworkDrive(installation_.folder())) {
      return Asked(texts::kOtherPcsQuestion, Question::kOtherPcs);
    }
    if (request.skip_backup && !request.skip_confirmed) {
      return Asked(texts::kSkipBackupQuestion, Question::kSkipBackup);
    }
    // A wrong password leaves the user unlocked before, if any, as it was.
    auto unlocked = UnlockedUser::Unlock(profile, state_.UserName, state_.UserDir(),
                                         Utf8ToCp949Text(request.password));
    if (!unlocked) {
      Reply wrong = Reply::Refused(texts::kWrongPassword, NoticeKind::kError);
      wrong.wrong_password = true;
      return wrong;
    }
    user_ = std::move(*unlocked);
    // What the PC is doing that the upgrade cannot live with is refused before
    // anything is made, copied or locked, so the operator can put it right and
    // press the button again.
    const std::string& user = state_.UserName;
    StartClearance cleared = ClearToStart(
        request.verb,
        {installation_, user, !request.skip_backup, chain_.MergesMonthsFrom(profile.Version())});
    if (!cleared.cleared()) return cleared.reply;
    lock_ = std::move(cleared.lock);
    // Past the checks the run leaves a record, whatever happens next.
    record_ = RunRecord::Begin(installation_, user, texts::kRecordUpgrade);
    AddLog(texts::kLogUpgradeStarting);
    AddLog(texts::kLogBackingUp);
    // A backup that fails for want of room takes away what it copied, but
    // only from a folder of its own.
    backup_folder_made_ = platform_.CreateDirectory(installation_.BackupOf(user)).ok();
    Reply reply;
    reply.next = Next::kBackup;
    return reply;
  }));
}

}  // namespace dayledger
