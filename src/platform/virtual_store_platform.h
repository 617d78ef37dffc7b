// The installation as the scheduler sees it when Windows virtualizes it. An
// old program installed under Program Files cannot write there as a
// standard user, so Windows sends each of its writes to the user's
// VirtualStore and lets its reads see the VirtualStore's copy first. This
// view does the same for the tool: a file is read from the store where it
// lies there, else from the real folder; listings merge both; every write,
// rename, deletion and new folder lands in the store. Shown texts name the
// place each file really has on disk.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace dayledger {

class VirtualStorePlatform : public PlatformWrapper {
 public:
  // `real_root`: the installation's folder; `store_root`: its counterpart in
  // the user's VirtualStore.
  VirtualStorePlatform(Platform* target, const Path& real_root, const Path& store_root);

  Status TestOpen(const Path& path) override;
  Status ReadFile(const Path& path, std::string* bytes) override;
  Status WriteFile(const Path& path, const std::string& bytes) override;
  Status WriteFileMoved(const Path& path, std::string&& bytes) override;
  Status SyncFile(const Path& path) override;
  Status RenameFile(const Path& from, const Path& to) override;
  Status DeleteFile(const Path& path) override;
  // Each in the store and in the real folder, one at a time.
  std::vector<Status> DeleteFiles(const std::vector<Path>& paths) override {
    return Platform::DeleteFiles(paths);
  }
  Status RemoveFolder(const Path& path) override;
  Status SyncFolder(const Path& path) override;
  Status CopyPermissions(const Path& from, const Path& to) override;
  Status CreateDirectory(const Path& path) override;
  Result<PathKind> Inspect(const Path& path) override;
  Result<std::vector<FolderEntry>> ListFolder(const Path& folder) override;
  Status CanReplace(const Path& path) override;
  Status CanWriteIn(const Path& folder) override;
  // The drive of the store, where every write lands.
  Result<DiskSpace> SpaceOn(const Path& folder) override;
  Result<Lock> LockFile(const Path& path) override;
  std::string ShownText(const std::string& text) override;

  // The store's folder that stands for the installation's.
  const Path& store_root() const { return store_root_; }

 private:
  // Where the path lies on disk: in the store when it is there, or when the
  // real folder has nothing of that name either (a write would put it there).
  Path Place(const Path& path);
  // The path's counterpart in the store; the path itself when it lies
  // outside the installation.
  Path Store(const Path& path) const;
  bool Inside(const Path& path) const;
  // Where new files in the folder land: its counterpart in the store, or the
  // nearest one above it, from which the missing ones would be made.
  Path StoreFolderFor(const Path& folder);
  // Deletes a file or removes a folder with `removal`, in the store and in
  // the real folder.
  Status Remove(const Path& path, Status (Platform::*removal)(const Path&));
  // Makes the store's folders above the path that the real side has.
  void MakeStoreParents(const Path& path);

  Path real_root_;  // normal forms
  Path store_root_;
};

}  // namespace dayledger
