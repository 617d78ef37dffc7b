// The VirtualStore view of an installation: reads from the store first,
// listings merged, every change in the store.
#include "platform/virtual_store_platform.h"

#include <map>

namespace dayledger {
namespace {

bool EndsPath(char c) { return c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

VirtualStorePlatform::VirtualStorePlatform(Platform* target, const Path& real_root,
                                           const Path& store_root)
    : PlatformWrapper(target), real_root_(real_root.Normal()), store_root_(store_root.Normal()) {}

bool VirtualStorePlatform::Inside(const Path& path) const { return real_root_.Holds(path); }

Path VirtualStorePlatform::Store(const Path& path) const {
  // The rest of the path keeps its spelling, as the texts that name it do.
  const std::string& text = path.text();
  const std::string& root = real_root_.text();
  if (!Inside(path)) return path;
  if (text.compare(0, root.size(), root) != 0) return store_root_ / real_root_.RelativeOf(path);
  return Path(store_root_.text() + text.substr(root.size()));
}

Path VirtualStorePlatform::Place(const Path& path) {
  if (!Inside(path)) return path;
  // A side that cannot be looked at may hold it, the store's first.
  const Path store = Store(path);
  if (!SurelyMissing(*target(), store)) return store;
  return SurelyMissing(*target(), path) ? store : path;
}

void VirtualStorePlatform::MakeStoreParents(const Path& path) {
  const std::string normal = path.Normal().text();
  if (!Inside(path)) return;
  // Each folder between the root and the path's own folder, from the top.
  for (size_t at = normal.find('\\', real_root_.text().size() + 1); at != std::string::npos;
       at = normal.find('\\', at + 1)) {
    const Path folder(normal.substr(0, at));
    if (SurelyMissing(*target(), Store(folder)) &&
        KnownToBe(*target(), folder, PathKind::kFolder)) {
      IgnoreFailure(target()->CreateDirectory(Store(folder)), "what is made in it says why");
    }
  }
}

Status VirtualStorePlatform::TestOpen(const Path& path) { return target()->TestOpen(Place(path)); }

Status VirtualStorePlatform::ReadFile(const Path& path, std::string* bytes) {
  return target()->ReadFile(Place(path), bytes);
}

Status VirtualStorePlatform::WriteFile(const Path& path, const std::string& bytes) {
  MakeStoreParents(path);
  return target()->WriteFile(Store(path), bytes);
}

Status VirtualStorePlatform::WriteFileMoved(const Path& path, std::string&& bytes) {
  MakeStoreParents(path);
  return target()->WriteFileMoved(Store(path), std::move(bytes));
}

Status VirtualStorePlatform::SyncFile(const Path& path) { return target()->SyncFile(Place(path)); }

Status VirtualStorePlatform::RenameFile(const Path& from, const Path& to) {
  MakeStoreParents(to);
  return target()->RenameFile(Place(from), Store(to));
}

Status VirtualStorePlatform::Remove(const Path& path, Status (Platform::*removal)(const Path&)) {
  // A copy left in the real folder would show through again: it goes too,
  // or the removal fails naming it.
  const Path store = Store(path);
  if (!Inside(path)) return (target()->*removal)(store);
  if (!SurelyMissing(*target(), store)) {
    const Status status = (target()->*removal)(store);
    // One not there after all leaves the real folder's copy to remove.
    if (!status.ok() && status.kind != StatusKind::kNotFound) return status;
    if (status.ok() && SurelyMissing(*target(), path)) return status;
  }
  return (target()->*removal)(path);
}

Status VirtualStorePlatform::DeleteFile(const Path& path) {
  return Remove(path, &Platform::DeleteFile);
}

Status VirtualStorePlatform::RemoveFolder(const Path& path) {
  return Remove(path, &Platform::RemoveFolder);
}

Status VirtualStorePlatform::SyncFolder(const Path& path) {
  return target()->SyncFolder(Place(path));
}

Status VirtualStorePlatform::CopyPermissions(const Path& from, const Path& to) {
  return target()->CopyPermissions(Place(from), Place(to));
}

Status VirtualStorePlatform::CreateDirectory(const Path& path) {
  if (Inside(path) && !SurelyMissing(*this, path)) {
    return Status::Failed(StatusKind::kCannotCreate, Place(path));
  }
  MakeStoreParents(path);
  return target()->CreateDirectory(Store(path));
}

Result<PathKind> VirtualStorePlatform::Inspect(const Path& path) {
  return target()->Inspect(Place(path));
}

Result<std::vector<FolderEntry>> VirtualStorePlatform::ListFolder(const Path& folder) {
  if (!Inside(folder)) return target()->ListFolder(folder);
  Result<std::vector<FolderEntry>> real = target()->ListFolder(folder);
  Result<std::vector<FolderEntry>> store = target()->ListFolder(Store(folder));
  // A side that cannot be listed may hide what the other shows: the listing
  // fails. Neither side there: no folder.
  for (Result<std::vector<FolderEntry>>* side : {&real, &store}) {
    if (!side->ok() && side->kind() != StatusKind::kNotFound) return side->status();
  }
  if (!real.ok() && !store.ok()) return real.status();
  // The store's entry wins where both have a name, as it does for reads. A
  // side that is not there adds nothing.
  std::map<std::string, FolderEntry> merged;
  for (const Result<std::vector<FolderEntry>>* side : {&real, &store}) {
    for (const FolderEntry& entry : side->value_or({})) merged[AsciiLower(entry.name)] = entry;
  }
  std::vector<FolderEntry> listed;
  for (auto& [key, entry] : merged) listed.push_back(std::move(entry));
  return listed;
}

Status VirtualStorePlatform::CanReplace(const Path& path) {
  return target()->CanReplace(Place(path));
}

Path VirtualStorePlatform::StoreFolderFor(const Path& folder) {
  Path store = folder.Normal();
  while (Inside(store) && store != real_root_ &&
         !KnownToBe(*target(), Store(store), PathKind::kFolder)) {
    store = store.Parent();
  }
  return Store(store);
}

Result<DiskSpace> VirtualStorePlatform::SpaceOn(const Path& folder) {
  return target()->SpaceOn(StoreFolderFor(folder));
}

Status VirtualStorePlatform::CanWriteIn(const Path& folder) {
  if (!Inside(folder)) return target()->CanWriteIn(folder);
  const Status store = target()->CanWriteIn(StoreFolderFor(folder));
  if (!store.ok()) return store;
  // A file of the real folder can only be replaced or deleted there: it
  // would show through the store again. One that cannot be listed may hold
  // such a file; one that is not there holds none.
  const Result<std::vector<FolderEntry>> real = target()->ListFolder(folder);
  if (!real.ok() && real.kind() != StatusKind::kNotFound) return real.status();
  for (const FolderEntry& entry : real.value_or({})) {
    if (!entry.folder) return target()->CanWriteIn(folder);
  }
  return Status::Ok();
}

Result<Lock> VirtualStorePlatform::LockFile(const Path& path) {
  MakeStoreParents(path);
  return target()->LockFile(Store(path));
}

std::string VirtualStorePlatform::ShownText(const std::string& text) {
  // Each path the text names, up to a tab or a line end, as it lies on disk.
  const std::string& root = real_root_.text();
  std::string shown;
  size_t done = 0;
  for (size_t at = text.find(root); at != std::string::npos; at = text.find(root, at + 1)) {
    if (at < done) continue;
    size_t end = at;
    while (end < text.size() && !EndsPath(text[end])) ++end;
    const Path path(text.substr(at, end - at));
    if (!Inside(path)) continue;
    shown += text.substr(done, at - done) + Place(path).text();
    done = end;
  }
  shown += text.substr(done);
  return target()->ShownText(shown);
}

}  // namespace dayledger
