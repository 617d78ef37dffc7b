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

IoStatus CopyTree(Platform& platform, const Path& from, const Path& to) {
  const Path source = from.Normal();
  return CopyTreeAs(platform, source, to.Normal() / source.Name());
}

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

void RemoveTree(Platform& platform, const Path& folder) {
  const Path root = folder.Normal();
  if (platform.Inspect(root) != PathKind::kFolder) return;
  for (const FolderEntry& entry : platform.ListFolder(root).entries) {
    const Path path = root / entry.name;
    if (platform.Inspect(path) == PathKind::kFolder) {
      RemoveTree(platform, path);
    } else {
      platform.DeleteFile(path);
    }
  }
  platform.RemoveFolder(root);
}

}  // namespace dayledger
