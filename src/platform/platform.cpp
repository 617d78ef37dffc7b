// What the platform's callers build on its operations.
#include "platform/platform.h"

namespace dayledger {

Status RemoveTree(Platform& platform, const Path& folder) {
  const Path root = folder.Normal();
  if (SurelyMissing(platform, root)) return Status::Ok();
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(root);
  Status first = listed.status();
  // A folder that cannot be listed is answered by that failure: nothing in
  // it is removed, and neither is the folder.
  for (const FolderEntry& entry : listed.value_or({})) {
    const Path path = root / entry.name;
    const Result<PathKind> kind = platform.Inspect(path);
    const Status removed = !kind.ok()                   ? kind.status()
                           : *kind == PathKind::kFolder ? RemoveTree(platform, path)
                                                        : platform.DeleteFile(path);
    if (first.ok()) first = removed;
  }
  // Whatever failed on the way, a folder that went is gone.
  const Status gone = platform.RemoveFolder(root);
  return gone.ok() ? gone : first.ok() ? gone : first;
}

}  // namespace dayledger
