// The VirtualStore view of an installation: reads from the store first,
// listings merged, every change in the store.
#include "platform/virtual_store_platform.h"

#include <map>

#include "platform/tool_path.h"

namespace dayledger {
namespace {

// Windows compares names without regard to case. In CP949 only the single
// ASCII bytes have a case: the second byte of a double-byte character,
// which may look like an ASCII letter, is kept as it is.
std::string NameKey(const std::string& name) {
  std::string key;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c >= 0x81 && i + 1 < name.size()) {
      key += name.substr(i, 2);
      ++i;
    } else {
      key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
  }
  return key;
}

bool EndsPath(char c) { return c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

VirtualStorePlatform::VirtualStorePlatform(Platform* target, const std::string& real_root,
                                           const std::string& store_root)
    : PlatformWrapper(target),
      real_root_(NormalPath(real_root)),
      store_root_(NormalPath(store_root)) {}

bool VirtualStorePlatform::Inside(const std::string& path) const {
  return path.compare(0, real_root_.size(), real_root_) == 0 &&
         (path.size() == real_root_.size() || path[real_root_.size()] == '\\');
}

std::string VirtualStorePlatform::Store(const std::string& path) const {
  return Inside(path) ? store_root_ + path.substr(real_root_.size()) : path;
}

std::string VirtualStorePlatform::Place(const std::string& path) {
  if (!Inside(path)) return path;
  const std::string store = Store(path);
  if (target()->Inspect(store) != PathKind::kMissing) return store;
  return target()->Inspect(path) != PathKind::kMissing ? path : store;
}

void VirtualStorePlatform::MakeStoreParents(const std::string& path) {
  const std::string normal = NormalPath(path);
  if (!Inside(normal)) return;
  // Each folder between the root and the path's own folder, from the top.
  for (size_t at = normal.find('\\', real_root_.size() + 1); at != std::string::npos;
       at = normal.find('\\', at + 1)) {
    const std::string folder = normal.substr(0, at);
    if (target()->Inspect(Store(folder)) == PathKind::kMissing &&
        target()->Inspect(folder) == PathKind::kFolder) {
      target()->CreateDirectory(Store(folder));
    }
  }
}

bool VirtualStorePlatform::TestOpen(const std::string& path) {
  return target()->TestOpen(Place(path));
}

IoStatus VirtualStorePlatform::ReadFile(const std::string& path, std::string* bytes) {
  return target()->ReadFile(Place(path), bytes);
}

IoStatus VirtualStorePlatform::WriteFile(const std::string& path, const std::string& bytes) {
  MakeStoreParents(path);
  return target()->WriteFile(Store(path), bytes);
}

IoStatus VirtualStorePlatform::SyncFile(const std::string& path) {
  return target()->SyncFile(Place(path));
}

IoStatus VirtualStorePlatform::RenameFile(const std::string& from, const std::string& to) {
  MakeStoreParents(to);
  return target()->RenameFile(Place(from), Store(to));
}

IoStatus VirtualStorePlatform::Remove(const std::string& path,
                                      IoStatus (Platform::*removal)(const std::string&)) {
  // A copy left in the real folder would show through again: it goes too,
  // or the removal fails naming it.
  const std::string store = Store(path);
  if (!Inside(path) || target()->Inspect(store) != PathKind::kMissing) {
    const IoStatus status = (target()->*removal)(store);
    if (!status.ok() || !Inside(path)) return status;
    if (target()->Inspect(path) == PathKind::kMissing) return status;
  }
  return (target()->*removal)(path);
}

IoStatus VirtualStorePlatform::DeleteFile(const std::string& path) {
  return Remove(path, &Platform::DeleteFile);
}

IoStatus VirtualStorePlatform::RemoveFolder(const std::string& path) {
  return Remove(path, &Platform::RemoveFolder);
}

IoStatus VirtualStorePlatform::SyncFolder(const std::string& path) {
  return target()->SyncFolder(Place(path));
}

IoStatus VirtualStorePlatform::CopyPermissions(const std::string& from, const std::string& to) {
  return target()->CopyPermissions(Place(from), Place(to));
}

IoStatus VirtualStorePlatform::CreateDirectory(const std::string& path) {
  if (Inside(path) && Inspect(path) != PathKind::kMissing) {
    return IoStatus::Failed(IoError::kCannotCreate, Place(path));
  }
  MakeStoreParents(path);
  return target()->CreateDirectory(Store(path));
}

PathKind VirtualStorePlatform::Inspect(const std::string& path) {
  return target()->Inspect(Place(path));
}

FolderListing VirtualStorePlatform::ListFolder(const std::string& folder) {
  if (!Inside(folder)) return target()->ListFolder(folder);
  FolderListing real = target()->ListFolder(folder);
  FolderListing store = target()->ListFolder(Store(folder));
  // Neither side: the failure that is more than a missing folder.
  if (!real.ok() && !store.ok()) {
    return real.status.error == IoError::kNotFound ? std::move(store) : std::move(real);
  }
  // The store's entry wins where both have a name, as it does for reads.
  std::map<std::string, FolderEntry> merged;
  for (const FolderListing* side : {&real, &store}) {
    for (const FolderEntry& entry : side->entries) merged[NameKey(entry.name)] = entry;
  }
  FolderListing listed;
  for (auto& [key, entry] : merged) listed.entries.push_back(std::move(entry));
  return listed;
}

Replaceable VirtualStorePlatform::CanReplace(const std::string& path) {
  return target()->CanReplace(Place(path));
}

std::string VirtualStorePlatform::StoreFolderFor(const std::string& folder) {
  std::string store = NormalPath(folder);
  while (Inside(store) && store != real_root_ &&
         target()->Inspect(Store(store)) != PathKind::kFolder) {
    store = ParentFolder(store);
  }
  return Store(store);
}

std::optional<DiskSpace> VirtualStorePlatform::SpaceOn(const std::string& folder) {
  return target()->SpaceOn(StoreFolderFor(folder));
}

bool VirtualStorePlatform::CanWriteIn(const std::string& folder) {
  if (!Inside(folder)) return target()->CanWriteIn(folder);
  if (!target()->CanWriteIn(StoreFolderFor(folder))) return false;
  // A file of the real folder can only be replaced or deleted there: it
  // would show through the store again.
  for (const FolderEntry& entry : target()->ListFolder(folder).entries) {
    if (!entry.folder) return target()->CanWriteIn(folder);
  }
  return true;
}

TakenLock VirtualStorePlatform::LockFile(const std::string& path) {
  MakeStoreParents(path);
  return target()->LockFile(Store(path));
}

std::string VirtualStorePlatform::Cp949ToUtf8(const std::string& cp949) {
  // Each path the text names, up to a tab or a line end, as it lies on disk.
  std::string text;
  size_t done = 0;
  for (size_t at = cp949.find(real_root_); at != std::string::npos;
       at = cp949.find(real_root_, at + 1)) {
    if (at < done) continue;
    size_t end = at;
    while (end < cp949.size() && !EndsPath(cp949[end])) ++end;
    const std::string path = cp949.substr(at, end - at);
    if (!Inside(path)) continue;
    text += cp949.substr(done, at - done) + Place(path);
    done = end;
  }
  text += cp949.substr(done);
  return target()->Cp949ToUtf8(text);
}

}  // namespace dayledger
