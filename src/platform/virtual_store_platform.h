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
  // the user's VirtualStore; both tool paths.
  VirtualStorePlatform(Platform* target, const std::string& real_root,
                       const std::string& store_root);

  bool TestOpen(const std::string& path) override;
  IoStatus ReadFile(const std::string& path, std::string* bytes) override;
  IoStatus WriteFile(const std::string& path, const std::string& bytes) override;
  IoStatus SyncFile(const std::string& path) override;
  IoStatus RenameFile(const std::string& from, const std::string& to) override;
  IoStatus DeleteFile(const std::string& path) override;
  IoStatus RemoveFolder(const std::string& path) override;
  IoStatus SyncFolder(const std::string& path) override;
  IoStatus CopyPermissions(const std::string& from, const std::string& to) override;
  IoStatus CreateDirectory(const std::string& path) override;
  PathKind Inspect(const std::string& path) override;
  FolderListing ListFolder(const std::string& folder) override;
  Replaceable CanReplace(const std::string& path) override;
  bool CanWriteIn(const std::string& folder) override;
  // The drive of the store, where every write lands.
  std::optional<DiskSpace> SpaceOn(const std::string& folder) override;
  TakenLock LockFile(const std::string& path) override;
  std::string Cp949ToUtf8(const std::string& cp949) override;

  // The store's folder that stands for the installation's (a tool path).
  const std::string& store_root() const { return store_root_; }

 private:
  // Where the path lies on disk: in the store when it is there, or when the
  // real folder has nothing of that name either (a write would put it there).
  std::string Place(const std::string& path);
  // The path's counterpart in the store; the path itself when it lies
  // outside the installation.
  std::string Store(const std::string& path) const;
  bool Inside(const std::string& path) const;
  // Where new files in the folder land: its counterpart in the store, or the
  // nearest one above it, from which the missing ones would be made.
  std::string StoreFolderFor(const std::string& folder);
  // Deletes a file or removes a folder with `removal`, in the store and in
  // the real folder.
  IoStatus Remove(const std::string& path, IoStatus (Platform::*removal)(const std::string&));
  // Makes the store's folders above the path that the real side has.
  void MakeStoreParents(const std::string& path);

  std::string real_root_;
  std::string store_root_;
};

}  // namespace dayledger
