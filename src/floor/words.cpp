// The sentences for what the core says, the error report's text and its
// stopped reply, and replies that end a verb with a notice.
#include "floor/words.h"

#include <cstdint>

#include "texts/texts.h"

namespace dayledger {

namespace {

// The words for an error, with the paths it names: the framework's own
// text, or the tool's words for what it refuses itself.
std::string Words(const std::exception& error) {
  const auto* framework = dynamic_cast<const FrameworkError*>(&error);
  if (framework == nullptr) return error.what();
  const auto with_path = [&](const char* text) { return text + framework->path().text(); };
  switch (framework->kind()) {
    case StatusKind::kHeld:
      return with_path(texts::kFileInUse);
    case StatusKind::kReadOnly:
      return with_path(texts::kReadOnlyFiles);
    case StatusKind::kDenied:
      return with_path(texts::kFileNotDeletable);
    case StatusKind::kLinkRefused:
      return with_path(texts::kLinkRefused);
    case StatusKind::kRecoveryHeld:
      return with_path(texts::kRecoveryHeld);
    case StatusKind::kChangeLost:
      return with_path(texts::kChangeLost);
    case StatusKind::kNewerFormat:
      return with_path(texts::kNewerFormat);
    case StatusKind::kChangeSavedUnfinished:
      return texts::kChangeSavedUnfinished + std::string(framework->what());
    default:
      return framework->what();
  }
}

}  // namespace

const char* Words(Say say) {
  switch (say) {
    case Say::kNone:
    case Say::kRunAsOtherAccount:
    case Say::kInstallationOfOtherAccount:
    case Say::kDiskTooFull:
    case Say::kStoppedByError:
    case Say::kBackupFailed:
    case Say::kBackupNotOlder:
    case Say::kNotUpgraded:
      break;
    case Say::kUserListMissing:
      return texts::kUserListMissing;
    case Say::kProfileDamaged:
      return texts::kProfileDamaged;
    case Say::kSelectUser:
      return texts::kSelectUser;
    case Say::kAlreadyLatest:
      return texts::kAlreadyLatest;
    case Say::kUnsupportedVersion:
      return texts::kUnsupportedVersion;
    case Say::kSkipBackupQuestion:
      return texts::kSkipBackupQuestion;
    case Say::kWrongPassword:
      return texts::kWrongPassword;
    case Say::kUserBusy:
      return texts::kUserBusy;
    case Say::kLockUnavailable:
      return texts::kLockUnavailable;
    case Say::kFolderNotWritable:
      return texts::kFolderNotWritable;
    case Say::kProgramRunning:
      return texts::kProgramRunning;
    case Say::kOtherPcsQuestion:
      return texts::kOtherPcsQuestion;
    case Say::kOtherPcsNote:
      return texts::kOtherPcsNote;
    case Say::kLinkOnTheWay:
      return texts::kLinkOnTheWay;
    case Say::kReadOnlyFiles:
      return texts::kReadOnlyFiles;
    case Say::kFileNotDeletable:
      return texts::kFileNotDeletable;
    case Say::kUpgradeDone:
      return texts::kUpgradeDone;
    case Say::kFileInUse:
      return texts::kFileInUse;
    case Say::kUnsafeUserName:
      return texts::kUnsafeUserName;
    case Say::kLogUpgradeStarting:
      return texts::kLogUpgradeStarting;
    case Say::kLogBackingUp:
      return texts::kLogBackingUp;
    case Say::kLogBackupSkipped:
      return texts::kLogBackupSkipped;
    case Say::kLogBackupDone:
      return texts::kLogBackupDone;
    case Say::kLogSchedulesStarting:
      return texts::kLogSchedulesStarting;
    case Say::kLogAnniversariesStarting:
      return texts::kLogAnniversariesStarting;
    case Say::kLogCurrentVersion:
      return texts::kLogCurrentVersion;
    case Say::kLogNoAnniversaryVersion:
      return texts::kLogNoAnniversaryVersion;
    case Say::kLogTargetVersion:
      return texts::kLogTargetVersion;
    case Say::kScheduleData:
      return texts::kScheduleData;
    case Say::kAnniversaryData:
      return texts::kAnniversaryData;
    case Say::kLogRepeatCreated:
      return texts::kLogRepeatCreated;
    case Say::kLogYearStamped:
      return texts::kLogYearStamped;
    case Say::kLogYearLoaded:
      return texts::kLogYearLoaded;
    case Say::kLogSchedulesMerged:
      return texts::kLogSchedulesMerged;
    case Say::kLogGroupInformationDone:
      return texts::kLogGroupInformationDone;
    case Say::kLogGroupsDone:
      return texts::kLogGroupsDone;
    case Say::kLogAnniversariesCopied:
      return texts::kLogAnniversariesCopied;
    case Say::kLogAnniversariesDone:
      return texts::kLogAnniversariesDone;
    case Say::kLogSavingProfile:
      return texts::kLogSavingProfile;
    case Say::kLogUndeleted:
      return texts::kLogUndeleted;
    case Say::kLogLeftover:
      return texts::kLogLeftover;
    case Say::kLogUpgradeDone:
      return texts::kLogUpgradeDone;
    case Say::kProgressSchedules:
      return texts::kProgressSchedules;
    case Say::kProgressAnniversaries:
      return texts::kProgressAnniversaries;
    case Say::kNoteBusy:
      return texts::kNoteBusy;
    case Say::kNoteFailed:
      return texts::kNoteFailed;
    case Say::kRecordSystem:
      return texts::kRecordSystem;
    case Say::kRecordInstallation:
      return texts::kRecordInstallation;
    case Say::kRecordVirtualStore:
      return texts::kRecordVirtualStore;
    case Say::kRecordUser:
      return texts::kRecordUser;
    case Say::kRecordVerb:
      return texts::kRecordVerb;
    case Say::kRecordUpgrade:
      return texts::kRecordUpgrade;
    case Say::kRecordRestore:
      return texts::kRecordRestore;
    case Say::kRecordError:
      return texts::kRecordError;
    case Say::kNoBackupToRestore:
      return texts::kNoBackupToRestore;
    case Say::kBackupProfileUnreadable:
      return texts::kBackupProfileUnreadable;
    case Say::kKeptAside:
      return texts::kKeptAside;
    case Say::kRestored:
      return texts::kRestored;
    case Say::kNoBackupToCompare:
      return texts::kNoBackupToCompare;
  }
  return "";
}

namespace words {

std::string UserListLookedFor(const std::string& path) { return texts::UserListLookedFor(path); }
std::string InstallationAbove(const std::string& folder) {
  return texts::InstallationAbove(folder);
}
std::string RunAsOtherAccount(const std::string& running, const std::string& desktop) {
  return texts::RunAsOtherAccount(running, desktop);
}
std::string InstallationOfOtherAccount(const std::string& owner, const std::string& running) {
  return texts::InstallationOfOtherAccount(owner, running);
}
std::string DiskTooFull(const std::string& needed_mb, const std::string& free_mb,
                        const std::string& where) {
  return texts::DiskTooFull(needed_mb, free_mb, where);
}
std::string LogStepStarting(const std::string& data, const std::string& shown_version) {
  return texts::LogStepStarting(data, shown_version);
}
std::string LogAllStepsDone(const std::string& data) { return texts::LogAllStepsDone(data); }
std::string RecoveryNote(RecoveryAction action) {
  switch (action) {
    case RecoveryAction::kRolledForward:
      return texts::kNoteRolledForward;
    case RecoveryAction::kRolledBack:
      return texts::kNoteRolledBack;
    case RecoveryAction::kCleaned:
      return texts::kNoteCleaned;
    case RecoveryAction::kNone:
      break;
  }
  return "";
}
std::string NoteUser(const std::string& user) { return texts::NoteUser(user); }
std::string RecordTool(const std::string& tool_version, const std::string& data_version) {
  return texts::RecordTool(tool_version, data_version);
}
std::string RecordEnded(bool done, int exit_status) {
  return texts::RecordEnded(done, exit_status);
}
std::string BackupNotOlder(const std::string& target) { return texts::BackupNotOlder(target); }
std::string NotUpgraded(const std::string& target) { return texts::NotUpgraded(target); }

}  // namespace words

std::string ReasonLines(Platform& platform, const Path& path, int code) {
  if (code == 0) return "";
  const SystemReason reason = platform.Reason(code, path);
  const std::string shown = platform.Shown(path);
  std::string text;
  switch (reason.blocker) {
    case Blocker::kNone:
      break;
    case Blocker::kVirusScanner:
      text.append("\n").append(texts::kVirusScannerStopped).append(shown);
      break;
    case Blocker::kProtectedFolder:
      text.append("\n").append(texts::ProtectedFolderRefused(reason.program));
      break;
  }
  return text.append("\n").append(texts::SystemReasonShown(reason.code, reason.text));
}

std::string ReportedText(Platform& platform, const std::exception& error) {
  const std::string words = Words(error);
  std::string text = ErrorReportText(platform.ShownText(words));
  const auto* framework = dynamic_cast<const FrameworkError*>(&error);
  if (framework == nullptr) return text;
  // The file, where the sentence does not name it already.
  const Path& path = framework->path();
  if (!path.empty() && words.find(path.text()) == std::string::npos) {
    text.append("\n").append(texts::kFileNamed).append(platform.Shown(path));
  }
  return text + ReasonLines(platform, path, framework->code());
}

namespace {

// The first few of the items, and how many more: a CD's worth of read-only
// months would fill the screen.
std::string Listed(const std::vector<std::string>& items) {
  constexpr size_t kShown = 5;
  std::string text;
  for (size_t i = 0; i < items.size() && i < kShown; ++i) text += (i ? ", " : "") + items[i];
  if (items.size() > kShown) text += texts::MoreFiles(items.size() - kShown);
  return text;
}

// "12.5": megabytes to a tenth, rounded up for what is needed and down for
// what is free, so that the two never look equal when one is short.
std::string Megabytes(std::uint64_t bytes, bool round_up) {
  constexpr std::uint64_t kTenth = 1024 * 1024 / 10;
  const std::uint64_t tenths = round_up ? (bytes + kTenth - 1) / kTenth : bytes / kTenth;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// What a failed backup tells: which file and why (`copied`), and whether its
// half copy (`swap.made`) could be taken away again (`removed`).
std::string BackupFailure(Platform& platform, const FolderSwap& swap, const Status& copied,
                          const Status& removed) {
  // A backup swap that cannot be finished now keeps the earlier backup at
  // risk: its own words say what to close, and never to skip the backup.
  if (copied.kind == StatusKind::kRecoveryHeld || copied.kind == StatusKind::kChangeLost ||
      copied.kind == StatusKind::kNewerFormat) {
    return ReportedText(platform, StatusError(copied));
  }
  // A file of the new copy is named where it belongs, in the backup.
  Path path = copied.path;
  if (swap.made.Holds(path)) {
    const std::string relative = swap.made.RelativeOf(path);
    path = relative.empty() ? swap.current : swap.current / relative;
  }
  const std::string reason = ReasonLines(platform, copied.path, copied.code);
  const std::string file = platform.Shown(path);
  const std::string kept =
      removed.ok() ? "" : texts::kPartialBackupKept + platform.Shown(swap.made);
  if (copied.kind == StatusKind::kReadFailed || copied.kind == StatusKind::kNotFound) {
    return texts::kBackupReadFailed + file + kept + reason;
  }
  if (copied.kind != StatusKind::kNoSpace) {
    return std::string(texts::kBackupFailed).append("\n").append(texts::kFileNamed).append(file) +
           kept + reason;
  }
  const std::string left = removed.ok() ? texts::kPartialBackupRemoved : kept;
  return texts::kBackupDiskFull + platform.Shown(swap.current) + left + reason;
}

// The sentence for one message, from its kind and facts.
std::string Sentence(Platform& platform, const Said& said) {
  const std::string shown = said.path.empty() ? "" : platform.Shown(said.path);
  const auto item = [&](size_t i) { return i < said.items.size() ? said.items[i] : ""; };
  switch (said.say) {
    case Say::kStoppedByError:
      return ReportedText(platform, FrameworkError(said.error));
    case Say::kBackupFailed:
      return BackupFailure(platform, said.swap, said.error, said.removed);
    case Say::kUserListMissing: {
      std::string text = Words(said.say) + texts::UserListLookedFor(shown);
      if (!said.also.empty()) text += texts::InstallationAbove(platform.Shown(said.also));
      return text;
    }
    case Say::kRunAsOtherAccount:
      return texts::RunAsOtherAccount(item(0), item(1));
    case Say::kInstallationOfOtherAccount:
      return texts::InstallationOfOtherAccount(item(0), item(1));
    case Say::kDiskTooFull:
      return texts::DiskTooFull(Megabytes(said.needed, true), Megabytes(said.available, false),
                                shown);
    case Say::kProgramRunning:
    case Say::kReadOnlyFiles:
      return Words(said.say) + Listed(said.items);
    case Say::kUnsafeUserName:
      return Words(said.say) + item(0);
    case Say::kFileInUse:
      return Words(said.say) + shown + ".";
    case Say::kLockUnavailable:
      return Words(said.say) + shown + ReasonLines(platform, said.path, said.error.code);
    case Say::kProfileDamaged:
      return Words(said.say) + (shown.empty() ? "" : ": " + shown);
    case Say::kBackupNotOlder:
      return texts::BackupNotOlder(item(0)) + shown;
    case Say::kNotUpgraded:
      return texts::NotUpgraded(item(0)) + shown;
    default:
      return Words(said.say) + shown;
  }
}

}  // namespace

Notice Worded(Platform& platform, const Said& said) {
  Notice notice{Sentence(platform, said), said.kind, said.no_by_default};
  if (!said.record.empty()) {
    notice.text += (said.record_kept ? texts::kRecordKeptAt : texts::kRecordNotKept) +
                   platform.Shown(said.record);
  }
  return notice;
}

std::vector<Notice> WordedAll(Platform& platform, const Reply& reply) {
  std::vector<Notice> notices;
  for (const Said& said : reply.said) notices.push_back(Worded(platform, said));
  return notices;
}

std::string LastWords(Platform& platform, const Reply& reply) {
  return reply.said.empty() ? "" : Worded(platform, reply.said.back()).text;
}

}  // namespace dayledger
