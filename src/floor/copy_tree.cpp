// The backup copy of a folder tree, written and then flushed as one batch.
#include "floor/copy_tree.h"

#include <vector>

#include "platform/path.h"
#include "platform/patience.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

struct Copied {
  std::vector<Path> files;
  std::vector<Path> folders;
};

Status CopyInto(Platform& platform, const Path& from, const Path& to, Copied* copied) {
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(from);
  if (!listed.ok()) return Status::Failed(StatusKind::kReadFailed, from, listed.status().code);
  for (const FolderEntry& entry : *listed) {
    if (IsWorkFile(entry.name)) continue;
    const Path source = from / entry.name;
    const Path target = to / entry.name;
    if (entry.folder) {
      const Status made = platform.CreateDirectory(target);  // or it is there already
      if (platform.Inspect(target) != PathKind::kFolder) {
        return Status::Failed(StatusKind::kCannotCreate, target, made.code);
      }
      copied->folders.push_back(target);
      if (Status status = CopyInto(platform, source, target, copied); !status.ok()) return status;
      continue;
    }
    std::string bytes;
    if (Status status = platform.ReadFile(source, &bytes); !status.ok()) return status;
    if (Status status = platform.WriteFile(target, bytes); !status.ok()) return status;
    copied->files.push_back(target);
  }
  return Status::Ok();
}

}  // namespace

Status CopyTreeAs(Platform& platform, const Path& from, const Path& as) {
  const Path source = from.Normal();
  const Path target = as.Normal();
  const Path folder = target.Parent();
  if (platform.Inspect(source) != PathKind::kFolder) {
    return Status::Failed(StatusKind::kNotFound, source);
  }
  if (platform.Inspect(folder) != PathKind::kFolder) {
    return Status::Failed(StatusKind::kNotFound, folder);
  }
  const Status made = platform.CreateDirectory(target);  // or it is there already
  if (platform.Inspect(target) != PathKind::kFolder) {
    return Status::Failed(StatusKind::kCannotCreate, target, made.code);
  }
  Copied copied;
  copied.folders = {folder.Parent(), folder, target};
  if (Status status = CopyInto(platform, source, target, &copied); !status.ok()) return status;
  // A scanner may hold a copy a moment to look at it.
  for (const Path& file : copied.files) {
    const Status status =
        UnlessBrieflyDenied(platform, kBriefPatience, [&] { return platform.SyncFile(file); });
    if (!status.ok()) return status;
  }
  for (const Path& copied_folder : copied.folders) {
    if (Status status = platform.SyncFolder(copied_folder); !status.ok()) return status;
  }
  return Status::Ok();
}

Status RemoveTree(Platform& platform, const Path& folder) {
  const Path root = folder.Normal();
  if (platform.Inspect(root) == PathKind::kMissing) return Status::Ok();
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(root);
  Status first = listed.status();
  for (const FolderEntry& entry : listed.value_or({})) {
    const Path path = root / entry.name;
    const Status removed = platform.Inspect(path) == PathKind::kFolder ? RemoveTree(platform, path)
                                                                       : platform.DeleteFile(path);
    if (first.ok()) first = removed;
  }
  // Whatever failed on the way, a folder that went is gone.
  const Status gone = platform.RemoveFolder(root);
  return gone.ok() ? gone : first.ok() ? gone : first;
}

Status ReplaceFolder(Platform& platform, const FolderSwap& swap) {
  const Path parent = swap.current.Parent();
  const Result<PathKind> found = platform.Inspect(swap.current);
  if (!found.ok()) return found.status();
  // Something else in the folder's place is never moved: the system says why.
  if (found != PathKind::kFolder && found != PathKind::kMissing) {
    const Status made = platform.CreateDirectory(swap.current);
    return Status::Failed(StatusKind::kCannotCreate, swap.current, made.code);
  }
  const bool earlier = found == PathKind::kFolder;
  if (earlier) {
    if (Status moved = platform.RenameFile(swap.current, swap.aside); !moved.ok()) return moved;
  }
  if (Status moved = platform.RenameFile(swap.made, swap.current); !moved.ok()) {
    if (earlier) platform.RenameFile(swap.aside, swap.current);
    return moved;
  }
  if (Status flushed = platform.SyncFolder(parent); !flushed.ok()) return flushed;
  // The new folder is in its place: an earlier one that cannot go now goes
  // at the next settling.
  if (earlier && RemoveTree(platform, swap.aside).ok()) platform.SyncFolder(parent);
  return Status::Ok();
}

Status SettleSwap(Platform& platform, const FolderSwap& swap) {
  const bool aside = platform.Inspect(swap.aside) != PathKind::kMissing;
  const bool made = platform.Inspect(swap.made) != PathKind::kMissing;
  if (!aside && !made) return Status::Ok();
  // The earlier folder moves aside only once the new one is whole: with
  // neither in place, the new one takes it, or else the earlier one back.
  if (aside && platform.Inspect(swap.current) == PathKind::kMissing) {
    const Path& back = made ? swap.made : swap.aside;
    if (Status moved = platform.RenameFile(back, swap.current); !moved.ok()) return moved;
  }
  for (const Path& left : {swap.made, swap.aside}) {
    if (Status removed = RemoveTree(platform, left); !removed.ok()) return removed;
  }
  return platform.SyncFolder(swap.current.Parent());
}

}  // namespace dayledger
