// UpgradeTool's start checks: what must hold before anything is copied.
#include <optional>

#include "digest/sha1.h"
#include "platform/tool_path.h"
#include "state/file_names.h"
#include "state/version_code.h"
#include "texts/texts.h"
#include "upgrade/error_report.h"
#include "upgrade/upgrade_tool.h"
#include "upgrade/user_lock.h"

namespace dayledger {
namespace {

// The first folder of the user's data that the tool may not write in:
// the user's folder, then each folder below it.
std::optional<std::string> UnwritableFolder(Platform& platform, const std::string& folder) {
  if (!platform.CanWriteIn(folder)) return folder;
  const auto entries = platform.ListFolder(folder);
  if (!entries) return std::nullopt;  // the backup and the stages report it
  for (const FolderEntry& entry : *entries) {
    if (!entry.folder || entry.hidden) continue;
    if (auto below = UnwritableFolder(platform, folder + "\\" + entry.name)) return below;
  }
  return std::nullopt;
}

}  // namespace

Reply UpgradeTool::Start(const StartRequest& request) {
  return Guarded(platform_, [&] { return StartOrThrow(request); });
}

Reply UpgradeTool::StartOrThrow(const StartRequest& request) {
  // The user the labels show is the one started, never an earlier one.
  const int index = request.user;
  if (index < 0 || index >= static_cast<int>(user_names_.size()) ||
      user_names_[static_cast<size_t>(index)] != state_.UserName) {
    return Reply::Refused(texts::kSelectUser, kMbInformation);
  }
  if (!IsSafeUserName(state_.UserName)) return Reply::Refused(texts::kProfileDamaged, kMbError);
  const LineList& profile = state_.ProfileLines;
  if (profile.Get(1) == state_.TargetVersion) {
    return Reply::Refused(texts::kAlreadyLatest, kMbInformation);
  }
  // No step leads from an unknown version; refuse before anything changes.
  if (!FirstStepFor(profile.Get(1))) {
    return Reply::Refused(texts::kUnsupportedVersion, kMbInformation);
  }
  if (request.skip_backup && !request.skip_confirmed) {
    Reply question;
    question.outcome = Outcome::kAsk;
    question.notices.push_back({texts::kSkipBackupQuestion, kMbQuestionYesNo});
    return question;
  }
  if (profile.Get(9) == "1") {
    const std::string password = platform_.Utf8ToCp949(request.password);
    if (IteratedHexDigest(password, 5) != profile.Get(8)) {
      Reply wrong = Reply::Refused(texts::kWrongPassword, kMbError);
      wrong.select_password = true;
      return wrong;
    }
    // The data key is one hex-digest step short of the stored digest.
    state_.DataKey = IteratedHexDigest(password, 4);
  }
  // Data the user may not change (under Program Files, for a standard user)
  // is refused before anything is copied or locked.
  if (const auto folder =
          UnwritableFolder(platform_, NormalPath(UserFolder(state_.AppDir, state_.UserName)))) {
    return Reply::Refused(texts::kFolderNotWritable + platform_.Cp949ToUtf8(*folder), kMbError);
  }
  // One upgrade of a user at a time, in this window or in any other program.
  std::unique_ptr<FileLock> lock;
  switch (LockUser(platform_, state_.AppDir, state_.UserName, &lock)) {
    case LockResult::kLocked:
      break;
    case LockResult::kBusy:
      return Reply::Refused(texts::kUserBusy, kMbInformation);
    case LockResult::kUnavailable:
      return Reply::Refused(texts::kLockUnavailable +
                                platform_.Cp949ToUtf8(UserLockPath(state_.AppDir, state_.UserName)),
                            kMbError);
  }
  lock_ = std::move(lock);
  AddLog(texts::kLogUpgradeStarting);
  AddLog(texts::kLogBackingUp);
  platform_.CreateDirectory(BackupRoot(state_.AppDir));
  platform_.CreateDirectory(BackupFolder(state_.AppDir, state_.UserName));
  Reply reply;
  reply.next = Next::kBackup;
  return reply;
}

}  // namespace dayledger
