// A view of the disk that changes nothing on it: writes, copies, renames,
// deletions and new folders land in memory, and later reads and listings see
// them as they would see the real disk. The upgrade's stages run on it, so
// that their whole result can reach the disk in one commit; the pre-flight
// check runs the upgrade on it and throws the result away.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/path.h"
#include "platform/platform.h"

namespace dayledger {

class OverlayPlatform : public PlatformWrapper {
 public:
  explicit OverlayPlatform(Platform* target) : PlatformWrapper(target) {}

  Status TestOpen(const Path& path) override;
  Status ReadFile(const Path& path, std::string* bytes) override;
  Status WriteFile(const Path& path, const std::string& bytes) override;
  Status WriteFileMoved(const Path& path, std::string&& bytes) override;
  Status SyncFile(const Path& path) override;
  Status RenameFile(const Path& from, const Path& to) override;
  Status DeleteFile(const Path& path) override;
  // Each into the change set.
  std::vector<Status> DeleteFiles(const std::vector<Path>& paths) override {
    return Platform::DeleteFiles(paths);
  }
  Status RemoveFolder(const Path& path) override;
  Status SyncFolder(const Path& path) override;
  Status CopyPermissions(const Path& from, const Path& to) override;
  Status CreateDirectory(const Path& path) override;
  Result<PathKind> Inspect(const Path& path) override;
  Result<std::vector<FolderEntry>> ListFolder(const Path& folder) override;

  // Puts `bytes` in place of the file, or an empty folder in place of a
  // missing one, for the following runs.
  void Substitute(const Path& path, const std::string& bytes);
  void SubstituteEmptyFolder(const Path& folder);
  // Forgets what the last run changed, keeping the substitutes.
  void ResetWrites();

  // The change set, by the normal text of each path: the new content, or
  // nullopt for a deletion.
  const std::map<std::string, std::optional<std::string>>& changes() const { return changes_; }
  // The new content of a changed path, given up (for writing it to the disk
  // without a copy); the path stays in the change set.
  std::string TakeBytes(const Path& path) { return std::move(*changes_.at(path.Normal().text())); }
  // Folders created in the overlay (normal texts), in the order of creation.
  const std::vector<std::string>& new_folders() const { return new_folders_; }
  // Folders of the disk removed in the overlay, in the order of removal
  // (so a folder comes after everything removed inside it).
  const std::vector<std::string>& removed_folders() const { return removed_folders_; }

 private:
  bool IsNewFolder(const std::string& key) const;
  bool IsRemovedFolder(const std::string& key) const;
  bool FolderExists(const std::string& key);

  std::map<std::string, std::string> substitutes_;
  std::set<std::string> empty_folders_;
  std::map<std::string, std::optional<std::string>> changes_;
  std::vector<std::string> new_folders_;
  std::vector<std::string> removed_folders_;
  std::map<std::string, bool> folder_on_disk_;  // Inspect results, asked once per folder
};

}  // namespace dayledger
