// The backup copy of a folder tree, written and then flushed as one batch.
#include "upgrade/copy_tree.h"

#include <vector>

#include "commit/work_files.h"
#include "platform/patience.h"
#include "platform/tool_path.h"

namespace dayledger {
namespace {

struct Copied {
  std::vector<std::string> files;
  std::vector<std::string> folders;
};

IoStatus CopyInto(Platform& platform, const std::string& from, const std::string& to,
                  Copied* copied) {
  const FolderListing listed = platform.ListFolder(from);
  if (!listed.ok()) return IoStatus::Failed(IoError::kReadFailed, from, listed.status.code);
  for (const FolderEntry& entry : listed.entries) {
    if (IsWorkFile(entry.name)) continue;
    const std::string source = from + "\\" + entry.name;
    const std::string target = to + "\\" + entry.name;
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

IoStatus CopyTree(Platform& platform, const std::string& from, const std::string& to) {
  const std::string source = NormalPath(from);
  return CopyTreeAs(platform, source, NormalPath(to) + "\\" + BaseName(source));
}

IoStatus CopyTreeAs(Platform& platform, const std::string& from, const std::string& as) {
  const std::string source = NormalPath(from);
  const std::string target = NormalPath(as);
  const std::string folder = ParentFolder(target);
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
  copied.folders = {ParentFolder(folder), folder, target};
  if (IoStatus status = CopyInto(platform, source, target, &copied); !status.ok()) return status;
  // A scanner may hold a copy a moment to look at it.
  for (const std::string& file : copied.files) {
    const IoStatus status =
        UnlessBrieflyDenied(platform, kBriefPatience, [&] { return platform.SyncFile(file); });
    if (!status.ok()) return status;
  }
  for (const std::string& copied_folder : copied.folders) {
    if (IoStatus status = platform.SyncFolder(copied_folder); !status.ok()) return status;
  }
  return IoStatus::Ok();
}

void RemoveTree(Platform& platform, const std::string& folder) {
  const std::string root = NormalPath(folder);
  if (platform.Inspect(root) != PathKind::kFolder) return;
  for (const FolderEntry& entry : platform.ListFolder(root).entries) {
    const std::string path = root + "\\" + entry.name;
    if (platform.Inspect(path) == PathKind::kFolder) {
      RemoveTree(platform, path);
    } else {
      platform.DeleteFile(path);
    }
  }
  platform.RemoveFolder(root);
}

}  // namespace dayledger
