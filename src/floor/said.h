// What a verb has to tell, as values: the kind of each message and the
// facts it is made from. The words file (floor/words.h) makes the sentence
// at the edge, so that nothing in the core holds a finished sentence and a
// caller decides by kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "floor/folder_swap.h"
#include "floor/notice.h"
#include "platform/path.h"
#include "platform/status.h"

namespace dayledger {

// What the core has to say, by kind.
enum class Say {
  kNone,  // nothing: a verb that did its work and has nothing to tell
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
  kRunAsOtherAccount,           // items: the account running, the desktop's
  kInstallationOfOtherAccount,  // items: the owner, the account running
  kDiskTooFull,                 // needed and available bytes, at the path
  kStoppedByError,              // the error that ended the verb
  kBackupFailed,                // the backup's error, its copy, and its removal
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
  kLogStepStarting,  // about: the data; items: the version it starts from
  kLogAllStepsDone,  // about: the data
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
  // Notes of the recovery on opening an installation; items: the user, where
  // the note is about one.
  kNoteBusy,
  kNoteFailed,  // the error that kept it from finishing
  kNoteLockUnavailable,
  kNoteRolledForward,
  kNoteRolledBack,
  kNoteCleaned,
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
  kBackupNotOlder,  // items: the target version as shown
  kNotUpgraded,     // items: the target version as shown
};

// One message, as its kind and its facts; a fact a kind does not use stays
// empty.
struct Said {
  Said() = default;
  Said(Say say, NoticeKind kind = NoticeKind::kInformation, Path path = Path())
      : say(say), kind(kind), path(std::move(path)) {}

  Say say = Say::kNone;
  NoticeKind kind = NoticeKind::kInformation;  // how it is shown
  // A question whose yes speaks for more than this PC: Enter, pressed out
  // of habit, answers no.
  bool no_by_default = false;
  Say about = Say::kNone;          // the data a log line's step works on
  Path path;                       // the place it names
  Path also;                       // a second place: the installation above one without users
  std::vector<std::string> items;  // the names it lists or quotes (UTF-8)
  Status error;                    // the failure it reports, with its path and code
  // A failed backup: the copy it was making, and whether its half copy was
  // taken away again (ok) or stays.
  FolderSwap swap;
  Status removed;
  // A disk too full: bytes needed and free.
  std::uint64_t needed = 0;
  std::uint64_t available = 0;
  // An error that stopped a run names the run's record (`record` empty
  // when none), or says it could not be kept.
  Path record;
  bool record_kept = false;
};

// Whoever shows what the core tells: a window's message boxes, the
// terminal, a dry run that keeps it. Shows the message and waits; for a
// question, whether the answer was yes.
class Notices {
 public:
  virtual ~Notices() = default;
  virtual bool Show(const Said& said) = 0;
};

}  // namespace dayledger
