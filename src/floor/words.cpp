// The sentences for what the core tells: each kind made with its facts,
// and the error report's text.
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

namespace {

// The sentence of each kind that is one sentence alone; the others are made
// with their facts below.
constexpr std::pair<Say, const char*> kSentences[] = {
    {Say::kUserListMissing, texts::kUserListMissing},
    {Say::kProfileDamaged, texts::kProfileDamaged},
    {Say::kSelectUser, texts::kSelectUser},
    {Say::kAlreadyLatest, texts::kAlreadyLatest},
    {Say::kUnsupportedVersion, texts::kUnsupportedVersion},
    {Say::kSkipBackupQuestion, texts::kSkipBackupQuestion},
    {Say::kWrongPassword, texts::kWrongPassword},
    {Say::kUserBusy, texts::kUserBusy},
    {Say::kLockUnavailable, texts::kLockUnavailable},
    {Say::kFolderNotWritable, texts::kFolderNotWritable},
    {Say::kProgramRunning, texts::kProgramRunning},
    {Say::kOtherPcsQuestion, texts::kOtherPcsQuestion},
    {Say::kOtherPcsNote, texts::kOtherPcsNote},
    {Say::kLinkOnTheWay, texts::kLinkOnTheWay},
    {Say::kReadOnlyFiles, texts::kReadOnlyFiles},
    {Say::kFileNotDeletable, texts::kFileNotDeletable},
    {Say::kUpgradeDone, texts::kUpgradeDone},
    {Say::kFileInUse, texts::kFileInUse},
    {Say::kUnsafeUserName, texts::kUnsafeUserName},
    {Say::kLogUpgradeStarting, texts::kLogUpgradeStarting},
    {Say::kLogBackingUp, texts::kLogBackingUp},
    {Say::kLogBackupSkipped, texts::kLogBackupSkipped},
    {Say::kLogBackupDone, texts::kLogBackupDone},
    {Say::kLogSchedulesStarting, texts::kLogSchedulesStarting},
    {Say::kLogAnniversariesStarting, texts::kLogAnniversariesStarting},
    {Say::kLogCurrentVersion, texts::kLogCurrentVersion},
    {Say::kLogNoAnniversaryVersion, texts::kLogNoAnniversaryVersion},
    {Say::kLogTargetVersion, texts::kLogTargetVersion},
    {Say::kScheduleData, texts::kScheduleData},
    {Say::kAnniversaryData, texts::kAnniversaryData},
    {Say::kLogRepeatCreated, texts::kLogRepeatCreated},
    {Say::kLogYearStamped, texts::kLogYearStamped},
    {Say::kLogYearLoaded, texts::kLogYearLoaded},
    {Say::kLogSchedulesMerged, texts::kLogSchedulesMerged},
    {Say::kLogGroupInformationDone, texts::kLogGroupInformationDone},
    {Say::kLogGroupsDone, texts::kLogGroupsDone},
    {Say::kLogAnniversariesCopied, texts::kLogAnniversariesCopied},
    {Say::kLogAnniversariesDone, texts::kLogAnniversariesDone},
    {Say::kLogSavingProfile, texts::kLogSavingProfile},
    {Say::kLogUndeleted, texts::kLogUndeleted},
    {Say::kLogLeftover, texts::kLogLeftover},
    {Say::kLogUpgradeDone, texts::kLogUpgradeDone},
    {Say::kProgressSchedules, texts::kProgressSchedules},
    {Say::kProgressAnniversaries, texts::kProgressAnniversaries},
    {Say::kNoteBusy, texts::kNoteBusy},
    {Say::kNoteFailed, texts::kNoteFailed},
    {Say::kRecordSystem, texts::kRecordSystem},
    {Say::kRecordInstallation, texts::kRecordInstallation},
    {Say::kRecordVirtualStore, texts::kRecordVirtualStore},
    {Say::kRecordUser, texts::kRecordUser},
    {Say::kRecordVerb, texts::kRecordVerb},
    {Say::kRecordUpgrade, texts::kRecordUpgrade},
    {Say::kRecordRestore, texts::kRecordRestore},
    {Say::kRecordError, texts::kRecordError},
    {Say::kNoBackupToRestore, texts::kNoBackupToRestore},
    {Say::kBackupProfileUnreadable, texts::kBackupProfileUnreadable},
    {Say::kKeptAside, texts::kKeptAside},
    {Say::kRestored, texts::kRestored},
    {Say::kNoBackupToCompare, texts::kNoBackupToCompare},
    {Say::kNoteRolledForward, texts::kNoteRolledForward},
    {Say::kNoteRolledBack, texts::kNoteRolledBack},
    {Say::kNoteCleaned, texts::kNoteCleaned},
};

}  // namespace

const char* Words(Say say) {
  for (const auto& [kind, text] : kSentences) {
    if (kind == say) return text;
  }
  return "";
}

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
  if (copied.kind == StatusKind::kReadFailed || copied.kind == StatusKind::kFolderUnreadable ||
      copied.kind == StatusKind::kNotFound) {
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
    case Say::kNoteFailed:
      return Words(said.say) + (said.items.empty() ? "" : texts::NoteUser(item(0))) + " " +
             ReportedText(platform, FrameworkError(said.error));
    case Say::kNoteLockUnavailable:
      return Words(Say::kLockUnavailable) + shown + texts::NoteUser(item(0));
    case Say::kNoteBusy:
    case Say::kNoteRolledForward:
    case Say::kNoteRolledBack:
    case Say::kNoteCleaned:
      return Words(said.say) + texts::NoteUser(item(0));
    case Say::kLogCurrentVersion:
    case Say::kLogTargetVersion:
      return Words(said.say) + item(0);
    case Say::kLogYearStamped:
    case Say::kLogYearLoaded:
      return " - " + item(0) + Words(said.say);
    case Say::kLogStepStarting:
      return texts::LogStepStarting(Words(said.about), item(0));
    case Say::kLogAllStepsDone:
      return texts::LogAllStepsDone(Words(said.about));
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

std::string RecoveryMessage(Platform& platform, const std::vector<Said>& notes) {
  std::string text;
  for (const Said& note : notes) {
    if (!text.empty()) text += '\n';
    text += Worded(platform, note).text;
  }
  return text;
}

std::string LastWords(Platform& platform, const Reply& reply) {
  return reply.said.empty() ? "" : Worded(platform, reply.said.back()).text;
}

}  // namespace dayledger
