// The backup copy of a folder tree, written and then flushed as one batch.
#include "upgrade/copy_tree.h"

#include <vector>

#include "commit/work_files.h"
#include "platform/path.h"
#include "platform/patience.h"

namespace dayledger {
namespace {

struct Copied {
  std::vector<Path> files;
  std::vector<Path> folders;
};

IoStatus CopyInto(Platform& platform, const Path& from, const Path& to, Copied* copied) {
  const FolderListing listed = platform.ListFolder(from);
  if (!listed.ok()) return IoStatus::Failed(IoError::kReadFailed, from, listed.status.code);
  for (const FolderEntry& entry : listed.entries) {
    if (IsWorkFile(entry.name)) continue;
    const Path source = from / entry.name;
    const Path target = to / entry.name;
    if (entry.folder) {
      const IoStatus made = platform.CreateDirectory(target);  // or it is there already
      if (platform.Inspect(target) != PathKind::kFolder) {
        return IoStatus::Failed(IoError::kCannotCreate, target, made.code);
      }
      copied->folders.push_back(target);
      if (IoStatus status = CopyInto(platform, source, target, copied); !status.ok()) return status;
      continue;
    }
    std::string bytes;
    if (IoStatus status = platform.ReadFile(source, &bytes); !status.ok()) return status;
    if (IoStatus status = platform.WriteFile(target, bytes); !status.ok()) return status;
    copied->files.push_back(target);
  }
  return IoStatus::Ok();
}

}  // namespace

IoStatus CopyTreeAs(Platform& platform, const Path& from, const Path& as) {
  const Path source = from.Normal();
  const Path target = as.Normal();
  const Path folder = target.Parent();
  if (platform.Inspect(source) != PathKind::kFolder) {
    return IoStatus::Failed(IoError::kNotFound, source);
  }
  if (platform.Inspect(folder) != PathKind::kFolder) {
    return IoStatus::Failed(IoError::kNotFound, folder);
  }
  const IoStatus made = platform.CreateDirectory(target);  // or it is there already
  if (platform.Inspect(target) != PathKind::kFolder) {
    return IoStatus::Failed(IoError::kCannotCreate, target, made.code);
  }
  Copied copied;
  copied.folders = {folder.Parent(), folder, target};
  if (IoStatus status = CopyInto(platform, source, target, &copied); !status.ok()) return status;
  // A scanner may hold a copy a moment to look at it.
  for (const Path& file : copied.files) {
    const IoStatus status =
        UnlessBrieflyDenied(platform, kBriefPatience, [&] { return platform.SyncFile(file); });
    if (!status.ok()) return status;
  }
  for (const Path& copied_folder : copied.folders) {
    if (IoStatus status = platform.SyncFolder(copied_folder); !status.ok()) return status;
  }
  return IoStatus::Ok();
}

IoStatus RemoveTree(Platform& platform, const Path& folder) {
  const Path root = folder.Normal();
  if (platform.Inspect(root) == PathKind::kMissing) return IoStatus::Ok();
  const FolderListing listed = platform.ListFolder(root);
  IoStatus first = listed.ok() ? IoStatus::Ok() : listed.status;
  for (const FolderEntry& entry : listed.entries) {
    const Path path = root / entry.name;
    const IoStatus removed = platform.Inspect(path) == PathKind::kFolder
                                 ? RemoveTree(platform, path)
                                 : platform.DeleteFile(path);
    if (first.ok()) first = removed;
  }
  // Whatever failed on the way, a folder that went is gone.
  const IoStatus gone = platform.RemoveFolder(root);
  return gone.ok() ? gone : first.ok() ? gone : first;
}

IoStatus ReplaceFolder(Platform& platform, const FolderSwap& swap) {
  const Path parent = swap.current.Parent();
  const PathKind found = platform.Inspect(swap.current);
  // Something else in the folder's place is never moved: the system says why.
  if (found != PathKind::kFolder && found != PathKind::kMissing) {
    const IoStatus made = platform.CreateDirectory(swap.current);
    return IoStatus::Failed(IoError::kCannotCreate, swap.current, made.code);
  }
  const bool earlier = found == PathKind::kFolder;
  if (earlier) {
    if (IoStatus moved = platform.RenameFile(swap.current, swap.aside); !moved.ok()) return moved;
  }
  if (IoStatus moved = platform.RenameFile(swap.made, swap.current); !moved.ok()) {
    if (earlier) platform.RenameFile(swap.aside, swap.current);
    return moved;
  }
  if (IoStatus flushed = platform.SyncFolder(parent); !flushed.ok()) return flushed;
  // The new folder is in its place: an earlier one that cannot go now goes
  // at the next settling.
  if (earlier && RemoveTree(platform, swap.aside).ok()) platform.SyncFolder(parent);
  return IoStatus::Ok();
}

IoStatus SettleSwap(Platform& platform, const FolderSwap& swap) {
  const bool aside = platform.Inspect(swap.aside) != PathKind::kMissing;
  const bool made = platform.Inspect(swap.made) != PathKind::kMissing;
  if (!aside && !made) return IoStatus::Ok();
  // The earlier folder moves aside only once the new one is whole: with
  // neither in place, the new one takes it, or else the earlier one back.
  if (aside && platform.Inspect(swap.current) == PathKind::kMissing) {
    const Path& back = made ? swap.made : swap.aside;
    if (IoStatus moved = platform.RenameFile(back, swap.current); !moved.ok()) return moved;
  }
  for (const Path& left : {swap.made, swap.aside}) {
    if (IoStatus removed = RemoveTree(platform, left); !removed.ok()) return removed;
  }
  return platform.SyncFolder(swap.current.Parent());
}

}  // namespace dayledger
