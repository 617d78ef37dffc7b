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
  if (!listed.ok()) return listed.status();
  for (const FolderEntry& entry : *listed) {
    // A journal is a change not finished: a copy now would hold the folder
    // half old, half new, and recovery has to come first.
    if (entry.name == kJournalName) {
      return Status::Failed(StatusKind::kRecoveryHeld, from / entry.name);
    }
    if (IsWorkFile(entry.name)) continue;
    const Path source = from / entry.name;
    const Path target = to / entry.name;
    if (entry.folder) {
      const Status made = platform.CreateDirectory(target);  // or it is there already
      if (Status there = ExpectKind(platform, target, PathKind::kFolder,
                                    Status::Failed(StatusKind::kCannotCreate, target, made.code));
          !there.ok()) {
        return there;
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
  for (const Path& needed : {source, folder}) {
    if (Status there = ExpectKind(platform, needed, PathKind::kFolder,
                                  Status::Failed(StatusKind::kNotFound, needed));
        !there.ok()) {
      return there;
    }
  }
  const Status made = platform.CreateDirectory(target);  // or it is there already
  if (Status there = ExpectKind(platform, target, PathKind::kFolder,
                                Status::Failed(StatusKind::kCannotCreate, target, made.code));
      !there.ok()) {
    return there;
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

}  // namespace dayledger
