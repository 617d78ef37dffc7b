// The staging overlay: changes kept in memory over the disk below.
#include "commit/overlay_platform.h"

#include <algorithm>

namespace dayledger {

namespace {

// Changes are kept by the normal text of their path.
std::string Key(const Path& path) { return path.Normal().text(); }
std::string ParentKey(const std::string& key) { return Path(key).Parent().text(); }
std::string NameOfKey(const std::string& key) { return Path(key).Name(); }

}  // namespace

bool OverlayPlatform::IsNewFolder(const std::string& key) const {
  return std::find(new_folders_.begin(), new_folders_.end(), key) != new_folders_.end();
}

bool OverlayPlatform::IsRemovedFolder(const std::string& key) const {
  return std::find(removed_folders_.begin(), removed_folders_.end(), key) != removed_folders_.end();
}

bool OverlayPlatform::FolderExists(const std::string& key) {
  if (IsRemovedFolder(key)) return false;
  if (IsNewFolder(key) || empty_folders_.count(key) != 0) return true;
  const auto cached = folder_on_disk_.find(key);
  if (cached != folder_on_disk_.end()) return cached->second;
  // One that cannot be looked at now is no folder to write in, and is
  // looked at again next time.
  const Result<PathKind> found = target()->Inspect(Path(key));
  if (!found.ok()) return false;
  return folder_on_disk_[key] = *found == PathKind::kFolder;
}

Status OverlayPlatform::TestOpen(const Path& path) {
  std::string ignored;
  return ReadFile(path, &ignored);
}

Status OverlayPlatform::ReadFile(const Path& path, std::string* bytes) {
  const std::string key = Key(path);
  const auto changed = changes_.find(key);
  if (changed != changes_.end()) {
    if (!changed->second) return Status::Failed(StatusKind::kNotFound, path);
    *bytes = *changed->second;
    return Status::Ok();
  }
  const auto substitute = substitutes_.find(key);
  if (substitute != substitutes_.end()) {
    *bytes = substitute->second;
    return Status::Ok();
  }
  return target()->ReadFile(path, bytes);
}

Status OverlayPlatform::WriteFile(const Path& path, const std::string& bytes) {
  return WriteFileMoved(path, std::string(bytes));
}

Status OverlayPlatform::WriteFileMoved(const Path& path, std::string&& bytes) {
  const std::string key = Key(path);
  const Result<PathKind> there = Inspect(Path(key));
  if (!FolderExists(ParentKey(key)) || !there.ok() || *there == PathKind::kFolder) {
    return Status::Failed(StatusKind::kCannotCreate, path, there.status().code);
  }
  changes_[key] = std::move(bytes);
  return Status::Ok();
}

Status OverlayPlatform::SyncFile(const Path& path) {
  const Result<PathKind> there = Inspect(path);
  if (!there.ok()) return there.status();
  if (*there == PathKind::kMissing) return Status::Failed(StatusKind::kNotFound, path);
  return Status::Ok();
}

Status OverlayPlatform::RenameFile(const Path& from, const Path& to) {
  const std::string old_key = Key(from);
  const std::string new_key = Key(to);
  if (IsNewFolder(old_key)) {
    // A folder built in the overlay moves with everything in it.
    auto moved = [&](const std::string& key) {
      return key == old_key                      ? new_key
             : key.rfind(old_key + "\\", 0) == 0 ? new_key + key.substr(old_key.size())
                                                 : key;
    };
    std::map<std::string, std::optional<std::string>> changes;
    for (auto& [key, bytes] : changes_) changes.emplace(moved(key), std::move(bytes));
    changes_ = std::move(changes);
    for (std::string& folder : new_folders_) folder = moved(folder);
    return Status::Ok();
  }
  // Bytes this view holds move with the name, without a copy.
  std::string bytes;
  const auto changed = changes_.find(old_key);
  if (changed != changes_.end() && changed->second) {
    bytes = std::move(*changed->second);
  } else if (!ReadFile(from, &bytes).ok()) {
    return Status::Failed(StatusKind::kNotFound, to);
  }
  changes_[new_key] = std::move(bytes);
  return DeleteFile(from);
}

Status OverlayPlatform::DeleteFile(const Path& path) {
  const std::string key = Key(path);
  const Result<PathKind> there = Inspect(Path(key));
  if (!there.ok()) return there.status();
  if (*there != PathKind::kFile) return Status::Failed(StatusKind::kNotFound, path);
  // A file that exists only here leaves no trace; one on disk (or maybe on
  // it) is to be deleted.
  if (SurelyMissing(*target(), Path(key))) {
    changes_.erase(key);
  } else {
    changes_[key] = std::nullopt;
  }
  return Status::Ok();
}

Status OverlayPlatform::RemoveFolder(const Path& path) {
  const std::string key = Key(path);
  const Result<PathKind> there = Inspect(Path(key));
  if (!there.ok()) return there.status();
  if (*there != PathKind::kFolder) return Status::Failed(StatusKind::kNotFound, path);
  const Result<std::vector<FolderEntry>> listed = ListFolder(Path(key));
  if (!listed.ok() || !listed->empty()) {
    return Status::Failed(StatusKind::kDeleteFailed, path, listed.status().code);
  }
  if (IsNewFolder(key)) {
    new_folders_.erase(std::find(new_folders_.begin(), new_folders_.end(), key));
  } else {
    removed_folders_.push_back(key);
  }
  return Status::Ok();
}

Status OverlayPlatform::SyncFolder(const Path& path) {
  if (!FolderExists(Key(path))) return Status::Failed(StatusKind::kNotFound, path);
  return Status::Ok();
}

Status OverlayPlatform::CopyPermissions(const Path& /*from*/, const Path& /*to*/) {
  return Status::Ok();
}

Status OverlayPlatform::CreateDirectory(const Path& path) {
  const std::string key = Key(path);
  if (!SurelyMissing(*this, Path(key)) || !FolderExists(ParentKey(key))) {
    return Status::Failed(StatusKind::kCannotCreate, path);
  }
  if (IsRemovedFolder(key)) {
    // Made again: the disk's folder stays, without what was deleted in it.
    removed_folders_.erase(std::find(removed_folders_.begin(), removed_folders_.end(), key));
    return Status::Ok();
  }
  new_folders_.push_back(key);
  return Status::Ok();
}

Result<PathKind> OverlayPlatform::Inspect(const Path& path) {
  const std::string key = Key(path);
  const auto changed = changes_.find(key);
  if (changed != changes_.end()) return changed->second ? PathKind::kFile : PathKind::kMissing;
  if (IsRemovedFolder(key)) return PathKind::kMissing;
  if (IsNewFolder(key) || empty_folders_.count(key) != 0) return PathKind::kFolder;
  if (substitutes_.count(key) != 0) return PathKind::kFile;
  return target()->Inspect(Path(key));
}

Result<std::vector<FolderEntry>> OverlayPlatform::ListFolder(const Path& folder) {
  const std::string key = Key(folder);
  std::map<std::string, FolderEntry> entries;
  if (!IsNewFolder(key) && empty_folders_.count(key) == 0) {
    Result<std::vector<FolderEntry>> listed = target()->ListFolder(folder);
    if (!listed.ok()) return listed;
    for (FolderEntry& entry : *listed) entries[entry.name] = std::move(entry);
  }
  const std::string prefix = key + "\\";
  for (auto it = changes_.lower_bound(prefix); it != changes_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    const std::string name = it->first.substr(prefix.size());
    if (name.find('\\') != std::string::npos) continue;
    if (it->second) {
      entries[name] = {name, false, name[0] == '.'};
    } else {
      entries.erase(name);
    }
  }
  for (const std::string& created : new_folders_) {
    if (ParentKey(created) == key) {
      const std::string name = NameOfKey(created);
      entries[name] = {name, true, name[0] == '.'};
    }
  }
  for (const std::string& removed : removed_folders_) {
    if (ParentKey(removed) == key) entries.erase(NameOfKey(removed));
  }
  std::vector<FolderEntry> listed;
  for (auto& [name, entry] : entries) listed.push_back(std::move(entry));
  return listed;
}

void OverlayPlatform::Substitute(const Path& path, const std::string& bytes) {
  substitutes_[Key(path)] = bytes;
}

void OverlayPlatform::SubstituteEmptyFolder(const Path& folder) {
  empty_folders_.insert(Key(folder));
}

void OverlayPlatform::ResetWrites() {
  changes_.clear();
  new_folders_.clear();
  removed_folders_.clear();
}

}  // namespace dayledger
