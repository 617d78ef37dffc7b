// Brings a staged change set to the disk in one crash-safe step, and finishes
// or undoes a step that a crash interrupted.
#pragma once

#include <string>
#include <vector>

#include "commit/journal.h"
#include "commit/overlay_platform.h"
#include "platform/platform.h"

namespace dayledger {

// Writes every change `staged` holds (all under `folder`) to `disk`, giving
// up the staged bytes on the way (they are not copied). Throws
// FrameworkError; a failure before the commit point leaves the folder as it
// was, one after it leaves the journal for recovery to finish. Returns the
// files that could not be deleted (held open by another program).
std::vector<Path> CommitChanges(Platform& disk, const Path& folder, OverlayPlatform& staged);

// Applies a whole journal of `folder`, then removes it. Applying it again
// after an interruption gives the same result. A step another program
// holds up is waited for, some twenty seconds at most. Returns the files
// and folders that still could not be deleted; throws FrameworkError when
// a rename or flush still fails, kRecoveryHeld when a file already renamed
// still cannot be read, and kChangeLost at once for a new file that is lost.
std::vector<Path> ApplyJournal(Platform& disk, const Path& folder, const Journal& journal);

enum class RecoveryAction { kNone, kRolledForward, kRolledBack, kCleaned };

struct RecoveryReport {
  RecoveryAction action = RecoveryAction::kNone;
  std::vector<Path> undeleted;
};

// Whether anything of an unfinished commit lies below `folder`; the
// failure where a folder below it cannot be listed, which may hold some.
Result<bool> HasWorkFiles(Platform& disk, const Path& folder);

// Leaves `folder` in a whole state after an interrupted commit: a whole
// journal is applied to its end (roll forward); a torn one is discarded with
// its temporaries (roll back); stray temporaries of any earlier run go, and
// an earlier build's lock file, which the caller holds. The Status of the
// error that stopped it otherwise (kRecoveryHeld, kChangeLost, kNewerFormat
// for a newer build's journal, left as it is, or a file that could not be
// read or removed).
Result<RecoveryReport> RecoverFolder(Platform& disk, const Path& folder);

}  // namespace dayledger
