// The commit protocol, one folder at a time:
//   1. every new content goes under a short temporary name (".dlu-<n>") in
//      its target's folder, and a new folder is built under such a name in
//      its parent; each temporary is flushed, then the folders holding them;
//   2. the journal, naming every rename and deletion and ending in a
//      checksum, is written and flushed, then the folder is flushed. The
//      journal's folder entry reaching the disk is the commit point: before
//      it, recovery throws the temporaries away; after it, recovery finishes;
//   3. the renames, deletions and removals of emptied folders are applied;
//   4. every touched folder is flushed;
//   5. the journal is removed and the folder flushed.
#include "commit/commit.h"

#include <map>
#include <optional>
#include <set>

#include "digest/sha1.h"
#include "platform/framework_error.h"
#include "platform/path.h"
#include "platform/patience.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

// The journal's renames, deletions and flushes, each tried once.
std::vector<Path> ApplyJournalOnce(Platform& disk, const Path& folder, const Journal& journal);

Path Join(const Path& folder, const std::string& relative) {
  return relative.empty() ? folder : folder / relative;
}

// `path` relative to `folder`; a path outside it or a name the journal
// cannot hold is refused before anything is written.
std::string Relative(const Path& folder, const Path& path) {
  if (!folder.Holds(path) || path.text().find_first_of("\t\r\n") != std::string::npos) {
    throw CannotCreateFile(path);
  }
  return folder.RelativeOf(path);
}

// The error of a failed step, naming the file the user knows, not its temporary.
void Check(const Status& status, const Path& target) {
  if (!status.ok()) ThrowIfFailed(Status::Failed(status.kind, target, status.code));
}

// Whether the file at `path` holds what the journal's entry says it must.
// One that is there but cannot be read (a scanner holds it) may well hold
// it: that is no answer, and throws kRecoveryHeld naming the file, which
// the journal's patience waits out.
bool Holds(Platform& disk, const Path& path, const JournalRename& rename) {
  std::string bytes;
  const Status read = disk.ReadFile(path, &bytes);
  if (!read.ok() && read.kind != StatusKind::kNotFound) {
    throw FrameworkError(path.text(), StatusKind::kRecoveryHeld, path, read.code);
  }
  return read.ok() && bytes.size() == rename.size && HexDigest(bytes) == rename.digest;
}

// Whether `path` is one of `folders` or lies inside one (all relative).
bool IsWithinAny(const std::string& path, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (path == folder || path.rfind(folder + "\\", 0) == 0) return true;
  }
  return false;
}

// What the commit created before its commit point, taken away again if it fails there.
class Temporaries {
 public:
  explicit Temporaries(Platform& disk) : disk_(disk) {}
  Path NewName(const Path& folder) {
    // The first free name; where the system cannot look, the change stops
    // here, before its commit point.
    for (;;) {
      const Path name = folder / (kWorkFilePrefix + std::to_string(++counter_));
      const Result<PathKind> there = disk_.Inspect(name);
      if (!there.ok()) throw CannotCreateFile(name, there.status().code);
      if (*there == PathKind::kMissing) return name;
    }
  }
  void AddFile(const Path& path) { files_.push_back(path); }
  void AddFolder(const Path& path) { folders_.push_back(path); }
  void RemoveAll() {
    // What stays is a work file, which the next start's recovery removes.
    for (const Path& file : files_) IgnoreFailure(disk_.DeleteFile(file), "recovery removes it");
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
      IgnoreFailure(disk_.RemoveFolder(*it), "recovery removes it");
    }
  }

 private:
  Platform& disk_;
  std::vector<Path> files_;
  std::vector<Path> folders_;
  int counter_ = 0;
};

struct Plan {
  Journal journal;
  std::set<Path> temporary_folders;  // folders that hold temporaries
};

void WriteTemporaries(Platform& disk, const Path& root, OverlayPlatform& staged, Temporaries& made,
                      Plan& plan) {
  std::set<std::string> flush = {""};
  std::map<Path, Path> built;  // new folder -> where it is built
  for (const std::string& key : staged.new_folders()) {
    const Path created(key);
    const Path parent = created.Parent();
    const auto inside = built.find(parent);
    const Path place =
        inside != built.end() ? inside->second / created.Name() : made.NewName(parent);
    if (const Status made_folder = disk.CreateDirectory(place); !made_folder.ok()) {
      throw CannotCreateFile(created, made_folder.code);
    }
    made.AddFolder(place);
    built[created] = place;
    plan.temporary_folders.insert(place.Parent());
    if (inside == built.end()) {
      plan.journal.renames.push_back({Relative(root, place), Relative(root, created)});
      flush.insert(Relative(root, parent));
    }
  }
  // Every file is written before any is flushed: the first flush then
  // carries the others' data with it on a journaling file system, where
  // writing and flushing each in turn would wait for the disk once a file.
  std::vector<std::pair<Path, Path>> written;  // place, path
  for (const auto& [key, bytes] : staged.changes()) {
    const Path path(key);
    const Path parent = path.Parent();
    flush.insert(Relative(root, parent));
    if (!bytes) {
      plan.journal.deletions.push_back(Relative(root, path));
      continue;
    }
    const auto inside = built.find(parent);
    const Path place = inside != built.end() ? inside->second / path.Name() : made.NewName(parent);
    made.AddFile(place);
    std::string content = staged.TakeBytes(path);
    const unsigned long long size = content.size();
    // What the file must hold, for recovery to tell a file already moved
    // from one that is lost.
    const std::string digest = inside == built.end() ? HexDigest(content) : "";
    Check(disk.WriteFileMoved(place, std::move(content)), path);
    // A replaced file keeps what the user set on it (a profile kept private
    // stays so). A scanner may hold the new file a moment to look at it.
    const Result<PathKind> replaced = disk.Inspect(path);
    Check(replaced.status(), path);
    if (*replaced == PathKind::kFile) {
      Check(
          UnlessBrieflyDenied(disk, kBriefPatience,
                              [&, &target = path] { return disk.CopyPermissions(target, place); }),
          path);
    }
    written.emplace_back(place, path);
    plan.temporary_folders.insert(place.Parent());
    if (inside == built.end()) {
      plan.journal.renames.push_back(
          {Relative(root, place), Relative(root, path), true, size, digest});
    }
  }
  for (const auto& [place, path] : written) {
    Check(UnlessBrieflyDenied(disk, kBriefPatience,
                              [&disk, &temporary = place] { return disk.SyncFile(temporary); }),
          path);
  }
  for (const std::string& key : staged.removed_folders()) {
    const Path removed(key);
    plan.journal.removed_folders.push_back(Relative(root, removed));
    flush.insert(Relative(root, removed.Parent()));
  }
  // A removed folder is made durable by its parent's flush, not its own.
  std::erase_if(flush, [&](const std::string& folder) {
    return IsWithinAny(folder, plan.journal.removed_folders);
  });
  plan.journal.folders.assign(flush.begin(), flush.end());
}

// Before anything is written: a file another program holds open without
// sharing deletion (the scheduler, a scanner, a synchronising client), a
// read-only one, or one its permissions keep would make a rename after the
// commit point fail, so the change stops here. Only a file held for a
// moment is waited for.
void RefuseUnreplaceable(Platform& disk, const OverlayPlatform& staged) {
  for (const auto& change : staged.changes()) {
    const Path path(change.first);
    const Result<PathKind> there = disk.Inspect(path);
    Check(there.status(), path);
    if (*there != PathKind::kFile) continue;
    ThrowIfFailed(ReplaceableSoon(disk, path));
  }
}

// Before anything is written: a file reached through a link would be
// replaced by a plain copy and its real target never upgraded.
void RefuseLinks(Platform& disk, const Path& root, const OverlayPlatform& staged) {
  for (const auto& [key, bytes] : staged.changes()) {
    const Path path(key);
    Relative(root, path);
    if (!bytes) continue;
    const Result<PathKind> there = disk.Inspect(path);
    Check(there.status(), path);
    if (*there == PathKind::kLink) {
      throw FrameworkError(path.text(), StatusKind::kLinkRefused, path);
    }
  }
}

}  // namespace

std::vector<Path> CommitChanges(Platform& disk, const Path& folder, OverlayPlatform& staged) {
  const Path root = folder.Normal();
  const Path journal_path = root / kJournalName;
  // An unfinished journal belongs to recovery, never to be overwritten.
  if (!SurelyMissing(disk, journal_path)) throw CannotCreateFile(journal_path);
  RefuseLinks(disk, root, staged);
  RefuseUnreplaceable(disk, staged);
  Temporaries made(disk);
  Plan plan;
  bool journal_written = false;
  try {
    WriteTemporaries(disk, root, staged, made, plan);
    for (const Path& holder : plan.temporary_folders) Check(disk.SyncFolder(holder), holder);
    journal_written = true;
    Check(disk.WriteFile(journal_path, EncodeJournal(plan.journal)), journal_path);
    Check(UnlessBrieflyDenied(disk, kBriefPatience, [&] { return disk.SyncFile(journal_path); }),
          journal_path);
    Check(disk.SyncFolder(root), root);  // the commit point
  } catch (const FrameworkError&) {
    // The temporaries may go only once the journal is surely gone: a whole
    // journal without them would be finished wrongly.
    if (!journal_written || (disk.DeleteFile(journal_path).kind != StatusKind::kDeleteFailed &&
                             disk.SyncFolder(root).ok())) {
      made.RemoveAll();
    }
    throw;
  }
  // Past the commit point the change is saved; what still fails after the
  // journal's patience is left to the next start, and the error says so.
  try {
    return ApplyJournal(disk, root, plan.journal);
  } catch (const FrameworkError& error) {
    throw FrameworkError(error.what(), StatusKind::kChangeSavedUnfinished, error.path());
  }
}

std::vector<Path> ApplyJournal(Platform& disk, const Path& folder, const Journal& journal) {
  // A step that fails (a file a scanner holds) is tried again, the whole
  // journal at a time, with longer and longer pauses: a rename still
  // failing then throws, and a file still held is left undeleted.
  std::vector<Path> undeleted;
  std::optional<FrameworkError> failure;
  Patiently(disk, kCommittedPatience, [&] {
    try {
      undeleted = ApplyJournalOnce(disk, folder, journal);
      failure.reset();
    } catch (const FrameworkError& error) {
      failure = error;
    }
    // A lost file stays lost however long one waits.
    if (failure && failure->kind() == StatusKind::kChangeLost) return true;
    return !failure && undeleted.empty();
  });
  if (failure) throw *failure;
  return undeleted;
}

namespace {

std::vector<Path> ApplyJournalOnce(Platform& disk, const Path& folder, const Journal& journal) {
  const Path root = folder.Normal();
  for (const JournalRename& rename : journal.renames) {
    const Path temporary = Join(root, rename.temporary);
    const Path target = Join(root, rename.target);
    const Status status = disk.RenameFile(temporary, target);
    if (status.ok()) continue;
    if (!SurelyMissing(disk, temporary)) Check(status, target);
    // A temporary no longer there was renamed before an interruption, but
    // only if its target holds what the journal says: else it is lost, and
    // nothing more may change, the deletions least of all. A target that
    // cannot be read now stops this try as held, never as lost.
    if (rename.checked && !Holds(disk, target, rename)) {
      throw FrameworkError(temporary.text(), StatusKind::kChangeLost, temporary, status.code);
    }
  }
  std::vector<Path> deletions;
  deletions.reserve(journal.deletions.size());
  for (const std::string& path : journal.deletions) deletions.push_back(Join(root, path));
  std::vector<Path> undeleted;
  const std::vector<Status> statuses = disk.DeleteFiles(deletions);
  for (size_t at = 0; at < deletions.size(); ++at) {
    if (!statuses[at].ok() && statuses[at].kind != StatusKind::kNotFound) {
      undeleted.push_back(deletions[at]);
    }
  }
  // A folder that stays (a file in it could not be deleted) is flushed
  // itself: the deletions made in it are durable only through its own flush.
  std::vector<std::string> flush = journal.folders;
  for (const std::string& path : journal.removed_folders) {
    const Status status = disk.RemoveFolder(Join(root, path));
    if (!status.ok() && status.kind != StatusKind::kNotFound) {
      undeleted.push_back(Join(root, path));
      flush.push_back(path);
    }
  }
  for (const std::string& touched : flush) {
    Check(disk.SyncFolder(Join(root, touched)), Join(root, touched));
  }
  const Path journal_path = root / kJournalName;
  const Status removed = disk.DeleteFile(journal_path);
  if (removed.kind != StatusKind::kNotFound) Check(removed, journal_path);
  Check(disk.SyncFolder(root), root);
  return undeleted;
}

}  // namespace
}  // namespace dayledger
