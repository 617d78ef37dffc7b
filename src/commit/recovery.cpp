// Recovery of a user's folder from what an interrupted commit left.
#include "commit/commit.h"
#include "commit/work_files.h"
#include "platform/framework_error.h"

namespace dayledger {
namespace {

// Removes a work folder and everything in it.
void RemoveTree(Platform& disk, const Path& folder) {
  for (const FolderEntry& entry : disk.ListFolder(folder).entries) {
    const Path path = folder / entry.name;
    if (entry.folder) {
      RemoveTree(disk, path);
    } else {
      ThrowIfFailed(disk.DeleteFile(path));
    }
  }
  ThrowIfFailed(disk.RemoveFolder(folder));
}

// Removes every work file and work folder below `folder`; true if there was any.
bool RemoveWorkFiles(Platform& disk, const Path& folder) {
  bool removed = false;
  for (const FolderEntry& entry : disk.ListFolder(folder).entries) {
    const Path path = folder / entry.name;
    if (!IsWorkFile(entry.name)) {
      if (entry.folder) removed = RemoveWorkFiles(disk, path) || removed;
      continue;
    }
    if (entry.folder) {
      RemoveTree(disk, path);
    } else {
      ThrowIfFailed(disk.DeleteFile(path));
    }
    removed = true;
  }
  if (removed) ThrowIfFailed(disk.SyncFolder(folder));
  return removed;
}

}  // namespace

bool HasWorkFiles(Platform& disk, const Path& folder) {
  for (const FolderEntry& entry : disk.ListFolder(folder).entries) {
    if (IsWorkFile(entry.name)) return true;
    if (entry.folder && !IsWorkFile(entry.name) && HasWorkFiles(disk, folder / entry.name)) {
      return true;
    }
  }
  return false;
}

RecoveryReport RecoverFolder(Platform& disk, const Path& folder) {
  RecoveryReport report;
  const Path journal_path = folder / kJournalName;
  if (disk.Inspect(journal_path) == PathKind::kFile) {
    std::string bytes;
    const auto journal =
        disk.ReadFile(journal_path, &bytes).ok() ? DecodeJournal(bytes) : std::nullopt;
    if (journal) {
      report.undeleted = ApplyJournal(disk, folder, *journal);
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

}  // namespace dayledger
