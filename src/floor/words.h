// The words people read, made in one place: what the core has to say is
// handed here as a kind and its facts, and an error that ends a verb as
// itself; this file makes the sentence (word for word as the windows and the
// terminal program show it, UTF-8). Every error that ends a verb becomes a
// notice with the error icon, shown under the application title.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "commit/commit.h"
#include "floor/folder_swap.h"
#include "floor/notice.h"
#include "floor/reply.h"
#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {

// What the core has to say, by kind.
enum class Say {
  // Messages: refusals, questions, what ends a verb, and what follows them.
  kUserListMissing,
  kProfileDamaged,
  kSelectUser,
  kAlreadyLatest,
  kUnsupportedVersion,
  kSkipBackupQuestion,
  kWrongPassword,
  kUserBusy,
  kLockUnavailable,
  kFolderNotWritable,
  kProgramRunning,
  kOtherPcsQuestion,
  kOtherPcsNote,
  kLinkOnTheWay,
  kReadOnlyFiles,
  kFileNotDeletable,
  kUpgradeDone,
  kFileInUse,
  kUnsafeUserName,
  // The progress log, in the order the upgrade writes it, and the names of
  // the data it works on.
  kLogUpgradeStarting,
  kLogBackingUp,
  kLogBackupSkipped,
  kLogBackupDone,
  kLogSchedulesStarting,
  kLogAnniversariesStarting,
  kLogCurrentVersion,
  kLogNoAnniversaryVersion,
  kLogTargetVersion,
  kScheduleData,
  kAnniversaryData,
  kLogRepeatCreated,
  kLogYearStamped,
  kLogYearLoaded,
  kLogSchedulesMerged,
  kLogGroupInformationDone,
  kLogGroupsDone,
  kLogAnniversariesCopied,
  kLogAnniversariesDone,
  kLogSavingProfile,
  kLogUndeleted,
  kLogLeftover,
  kLogUpgradeDone,
  kProgressSchedules,
  kProgressAnniversaries,
  // Notes of the recovery on opening an installation.
  kNoteBusy,
  kNoteFailed,
  // The record of a run.
  kRecordSystem,
  kRecordInstallation,
  kRecordVirtualStore,
  kRecordUser,
  kRecordVerb,
  kRecordUpgrade,
  kRecordRestore,
  kRecordError,
  // What restore and verify say of the backup.
  kNoBackupToRestore,
  kBackupProfileUnreadable,
  kKeptAside,
  kRestored,
  kNoBackupToCompare,
};

// The sentence for `say`.
const char* Words(Say say);

// Sentences made with their facts.
namespace words {
// After kUserListMissing: where the list was looked for, and where the
// program belongs.
std::string UserListLookedFor(const std::string& path);
std::string InstallationAbove(const std::string& folder);
std::string RunAsOtherAccount(const std::string& running, const std::string& desktop);
std::string InstallationOfOtherAccount(const std::string& owner, const std::string& running);
std::string DiskTooFull(const std::string& needed_mb, const std::string& free_mb,
                        const std::string& where);
// What a step works on (kScheduleData, kAnniversaryData) and the version.
std::string LogStepStarting(const std::string& data, const std::string& shown_version);
std::string LogAllStepsDone(const std::string& data);
// What recovery did in a user's folder (not kNone).
std::string RecoveryNote(RecoveryAction action);
// After a recovery note: whose folder it is about.
std::string NoteUser(const std::string& user);
std::string RecordTool(const std::string& tool_version, const std::string& data_version);
std::string RecordEnded(bool done, int exit_status);
// Each with the target version as shown ("v 1.03.00").
std::string BackupNotOlder(const std::string& target);
std::string NotUpgraded(const std::string& target);
}  // namespace words

// The text as the report shows it (UTF-8, period rule applied): the one
// place where an error's kind and path become the words a person reads. It
// names the file and ends with the system's reason and code, when known.
std::string ReportedText(Platform& platform, const std::exception& error);
// What follows a failure's own sentence: the words for a virus scanner or
// a protected folder that stood behind it, and the system's reason and
// code, each on a line of its own; empty when the system gave no code.
std::string ReasonLines(Platform& platform, const Path& path, int code);
// A stopped reply whose one notice is the report of `error`.
Reply Stopped(Platform& platform, const FrameworkError& error);
// A reply of `outcome` whose one notice is the text, followed by the tool
// path it is about, as shown, when one is given.
Reply Ended(Platform& platform, Outcome outcome, const std::string& text,
            const Path& path = Path());

// A start check's refusal about one place: the kind's sentence, the place as
// shown, and `end` after it.
Reply RefusedAt(Platform& platform, Say say, const Path& about, const char* end = "");
// A start check's refusal about several files or programs (as shown): the
// kind's sentence and the first few of them, with how many more.
Reply RefusedFor(Say say, const std::vector<std::string>& items);
// The user's lock (`lock`), not had: another program holds it, or its file
// cannot be opened (named, with the system's reason).
Reply LockRefusal(Platform& platform, const Path& lock, const Status& taken);
// What a failed backup tells: which file and why (`copied`), and whether its
// half copy (`swap.made`) could be taken away again (`removed`).
std::string BackupFailure(Platform& platform, const FolderSwap& swap, const Status& copied,
                          const Status& removed);
// A stopped run's error notices name its record, or say it could not be kept.
void NameRecord(Platform& platform, const Path& record, bool kept, Reply* reply);

// Runs `work`, which returns a Reply; an error that ends it comes back as
// the stopped reply of its report. A foreign error is reported as a
// framework error with an empty text.
template <typename Work>
Reply Guarded(Platform& platform, Work&& work) {
  try {
    return work();
  } catch (const FrameworkError& error) {
    return Stopped(platform, error);
  } catch (...) {
    return Stopped(platform, FrameworkError(""));
  }
}

}  // namespace dayledger
