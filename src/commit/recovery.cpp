// Recovery of a user's folder from what an interrupted commit left.
#include "commit/commit.h"
#include "platform/framework_error.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

// Removes every work file and work folder below `folder`; true if there was any.
bool RemoveWorkFiles(Platform& disk, const Path& folder) {
  bool removed = false;
  // Only what a listing names is removed: a folder that cannot be listed
  // keeps its stray temporaries until a later start can list it.
  for (const FolderEntry& entry : disk.ListFolder(folder).value_or({})) {
    const Path path = folder / entry.name;
    if (!IsWorkFile(entry.name)) {
      if (entry.folder) removed = RemoveWorkFiles(disk, path) || removed;
      continue;
    }
    if (entry.folder) {
      ThrowIfFailed(RemoveTree(disk, path));
    } else {
      ThrowIfFailed(disk.DeleteFile(path));
    }
    removed = true;
  }
  if (removed) ThrowIfFailed(disk.SyncFolder(folder));
  return removed;
}

FrameworkError Held(const Path& path, int code) {
  return FrameworkError(path.text(), StatusKind::kRecoveryHeld, path, code);
}

// Before anything is renamed: every temporary the journal names that is
// there must be readable, or finishing would stop halfway.
void RefuseHeldTemporaries(Platform& disk, const Path& folder, const Journal& journal) {
  for (const JournalRename& rename : journal.renames) {
    const Path temporary = folder / rename.temporary;
    // One that cannot be looked at is read all the same, and its read says why.
    if (!rename.checked || SurelyMissing(disk, temporary)) continue;
    std::string bytes;
    if (const Status read = disk.ReadFile(temporary, &bytes); !read.ok()) {
      throw Held(temporary, read.code);
    }
  }
}

}  // namespace

Result<bool> HasWorkFiles(Platform& disk, const Path& folder) {
  const Result<std::vector<FolderEntry>> listed = disk.ListFolder(folder);
  if (listed.kind() == StatusKind::kNotFound) return false;
  if (!listed.ok()) return listed.status();
  for (const FolderEntry& entry : *listed) {
    if (IsWorkFile(entry.name)) return true;
    if (!entry.folder) continue;
    const Result<bool> below = HasWorkFiles(disk, folder / entry.name);
    if (!below.ok() || *below) return below;
  }
  return false;
}

namespace {

RecoveryReport Recover(Platform& disk, const Path& folder) {
  RecoveryReport report;
  const Path journal_path = folder / kJournalName;
  // Only a journal's content can say it is torn: one that cannot be looked
  // at or read now (a scanner holds it) may be whole, and undoing it would
  // lose the change it saved. Only one surely missing is absent.
  const Result<PathKind> journal_kind = disk.Inspect(journal_path);
  if (!journal_kind.ok()) throw Held(journal_path, journal_kind.status().code);
  if (*journal_kind == PathKind::kFile) {
    std::string bytes;
    if (const Status read = disk.ReadFile(journal_path, &bytes); !read.ok()) {
      throw Held(journal_path, read.code);
    }
    const Result<Journal> journal = DecodeJournal(bytes);
    // A newer build's journal is left whole, with its temporaries, for
    // that build to finish: undoing it here could undo a saved change.
    if (journal.kind() == StatusKind::kNewerFormat) {
      throw FrameworkError(journal_path.text(), StatusKind::kNewerFormat, journal_path);
    }
    if (journal.ok()) {
      RefuseHeldTemporaries(disk, folder, *journal);
      try {
        report.undeleted = ApplyJournal(disk, folder, *journal);
      } catch (const FrameworkError& error) {
        // A rename still refused after the journal's patience: its file is held.
        if (error.kind() == StatusKind::kRenameFailed && error.code() != 0) {
          throw Held(error.path(), error.code());
        }
        throw;
      }
      report.action = RecoveryAction::kRolledForward;
    } else {
      report.action = RecoveryAction::kRolledBack;
    }
  }
  // After a finished journal nothing of it is left; after a torn one its
  // temporaries and the journal itself go here.
  if (RemoveWorkFiles(disk, folder) && report.action == RecoveryAction::kNone) {
    report.action = RecoveryAction::kCleaned;
  }
  return report;
}

}  // namespace

Result<RecoveryReport> RecoverFolder(Platform& disk, const Path& folder) {
  try {
    return Recover(disk, folder);
  } catch (const FrameworkError& error) {
    return error.status();
  }
}

}  // namespace dayledger
