// The fault platform's disk in memory, its crash and its failures.
#include "support/fault_platform.h"

#include <cerrno>
#include <filesystem>

#include "demo/installation_builder.h"
#include "platform/path.h"
#include "platform/system_platform.h"

namespace dayledger::testing {
namespace {

constexpr int kRoot = 0;
// A planted failure answers as a failing disk does: an I/O error.
constexpr int kPlantedCode = EIO;

std::vector<std::string> Components(const Path& path) {
  std::vector<std::string> parts;
  const std::string normal = path.Normal().text();
  size_t start = 0;
  while (start <= normal.size()) {
    const size_t end = std::min(normal.find('\\', start), normal.size());
    if (end > start) parts.push_back(normal.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

FaultPlatform::FaultPlatform() { folders_[kRoot] = durable_folders_[kRoot] = {}; }

bool FaultPlatform::Full() const { return full_from != 0 && operations >= full_from; }

bool FaultPlatform::Operation(char kind) {
  ++operations;
  kinds.push_back(kind);
  if (crashed_ || operations == crash_before) {
    crashed_ = true;
    throw SimulatedCrash();
  }
  return operations == fail_at;
}

int FaultPlatform::NewFolder() {
  const int id = next_id_++;
  folders_[id] = {};
  return id;
}

std::optional<FaultPlatform::Node> FaultPlatform::Find(const Path& path) {
  Node node{true, kRoot};
  for (const std::string& part : Components(path)) {
    if (!node.folder) return std::nullopt;
    const Entries& entries = folders_[node.id];
    const auto it = entries.find(part);
    if (it == entries.end()) return std::nullopt;
    node = it->second;
  }
  return node;
}

std::optional<std::pair<int, std::string>> FaultPlatform::Place(const Path& path) {
  const auto parent = Find(path.Parent());
  if (!parent || !parent->folder) return std::nullopt;
  return std::make_pair(parent->id, path.Name());
}

void FaultPlatform::Load(const std::string& native_root, const Path& tool_root) {
  namespace fs = std::filesystem;
  int folder = kRoot;
  for (const std::string& part : Components(tool_root)) {
    auto& entries = folders_[folder];
    if (entries.count(part) == 0) entries[part] = {true, NewFolder()};
    folder = entries[part].id;
  }
  std::map<std::string, int> ids = {{native_root, folder}};
  for (const auto& entry : fs::recursive_directory_iterator(native_root)) {
    const int parent = ids.at(entry.path().parent_path().string());
    const std::string name = entry.path().filename().string();
    if (entry.is_directory()) {
      const int id = NewFolder();
      folders_[parent][name] = {true, id};
      ids[entry.path().string()] = id;
    } else {
      const int id = next_id_++;
      contents_[id] = demo::InstallationBuilder::ReadNative(entry.path().string());
      folders_[parent][name] = {false, id};
    }
  }
  durable_folders_ = folders_;
  durable_contents_ = contents_;
}

void FaultPlatform::Crash() {
  // Names and folders as last flushed; or, where the file system keeps its
  // metadata in order, as the program last saw them. A file whose content
  // was never flushed is empty, or torn.
  if (!torn_writes) folders_ = durable_folders_;
  std::map<int, std::string> newest;
  newest.swap(contents_);
  for (const auto& [id, entries] : folders_) {
    for (const auto& [name, node] : entries) {
      if (node.folder) {
        if (folders_.count(node.id) == 0) folders_[node.id] = {};
        continue;
      }
      const std::string& bytes = newest[node.id];
      const bool unflushed = bytes != durable_contents_[node.id];
      contents_[node.id] =
          torn_writes && unflushed ? bytes.substr(0, bytes.size() / 2) : durable_contents_[node.id];
      durable_contents_[node.id] = contents_[node.id];
    }
  }
  durable_folders_ = folders_;
  moves_.clear();
  crashed_ = false;
  operations = crash_before = fail_at = full_from = 0;
  kinds.clear();
}

void FaultPlatform::Kill() {
  crashed_ = false;
  operations = crash_before = fail_at = full_from = 0;
  kinds.clear();
}

void FaultPlatform::SnapshotInto(int folder, const std::string& prefix,
                                 std::map<std::string, std::string>* out) {
  for (const auto& [name, node] : folders_[folder]) {
    if (node.folder) {
      (*out)[prefix + name + "\\"] = "";
      SnapshotInto(node.id, prefix + name + "\\", out);
    } else {
      (*out)[prefix + name] = contents_[node.id];
    }
  }
}

std::map<std::string, std::string> FaultPlatform::Snapshot(const Path& folder) {
  std::map<std::string, std::string> out;
  const auto node = Find(folder);
  if (node && node->folder) SnapshotInto(node->id, "", &out);
  return out;
}

Status FaultPlatform::TestOpen(const Path& path) {
  const auto node = Find(path);
  if (node && !node->folder) return Status::Ok();
  return Status::Failed(StatusKind::kNotFound, path);
}

Status FaultPlatform::ReadFile(const Path& path, std::string* bytes) {
  if (unreadable.count(path.Normal().text()) != 0) {
    return Status::Failed(StatusKind::kReadFailed, path, EBUSY);
  }
  const auto node = Find(path);
  if (!node || node->folder) return Status::Failed(StatusKind::kNotFound, path);
  *bytes = contents_[node->id];
  return Status::Ok();
}

Status FaultPlatform::WriteFile(const Path& path, const std::string& bytes) {
  if (Operation('W')) return Status::Failed(StatusKind::kWriteFailed, path, kPlantedCode);
  if (Full()) return Status::Failed(StatusKind::kNoSpace, path, ENOSPC);
  const auto place = Place(path);
  if (!place) return Status::Failed(StatusKind::kCannotCreate, path);
  Entries& entries = folders_[place->first];
  const auto it = entries.find(place->second);
  if (it != entries.end() && it->second.folder)
    return Status::Failed(StatusKind::kCannotCreate, path);
  if (it == entries.end()) {
    const int id = next_id_++;
    durable_contents_[id] = "";
    entries[place->second] = {false, id};
  }
  contents_[entries[place->second].id] = bytes;
  return Status::Ok();
}

Status FaultPlatform::SyncFile(const Path& path) {
  if (Operation('S')) return Status::Failed(StatusKind::kFlushFailed, path, kPlantedCode);
  const auto node = Find(path);
  if (!node || node->folder) return Status::Failed(StatusKind::kNotFound, path);
  durable_contents_[node->id] = contents_[node->id];
  return Status::Ok();
}

Status FaultPlatform::RenameFile(const Path& from, const Path& to) {
  if (Operation('R') || to.Normal().text() == failing_rename_to) {
    return Status::Failed(StatusKind::kRenameFailed, to, kPlantedCode);
  }
  const std::string moved = from.Normal().text();
  for (const std::string& held : unreadable) {
    if (held == moved || held.rfind(moved + "\\", 0) == 0) {
      return Status::Failed(StatusKind::kRenameFailed, to, EBUSY);
    }
  }
  Guard(to);
  const auto source = Place(from);
  const auto target = Place(to);
  if (!source || folders_[source->first].count(source->second) == 0) {
    return Status::Failed(StatusKind::kNotFound, to);
  }
  if (!target) return Status::Failed(StatusKind::kRenameFailed, to);
  const Node node = folders_[source->first][source->second];
  const auto existing = folders_[target->first].find(target->second);
  if (existing != folders_[target->first].end() && (existing->second.folder || node.folder)) {
    return Status::Failed(StatusKind::kRenameFailed, to);
  }
  folders_[source->first].erase(source->second);
  folders_[target->first][target->second] = node;
  if (source->first != target->first) {
    moves_.push_back({source->first, source->second, target->first, target->second, node});
  }
  return Status::Ok();
}

Status FaultPlatform::DeleteFile(const Path& path) {
  if (Operation('D') || path.Normal().text() == failing_delete_of) {
    return Status::Failed(StatusKind::kDeleteFailed, path, kPlantedCode);
  }
  if (unreadable.count(path.Normal().text()) != 0) {
    return Status::Failed(StatusKind::kDeleteFailed, path, EBUSY);
  }
  Guard(path);
  const auto place = Place(path);
  if (!place) return Status::Failed(StatusKind::kNotFound, path);
  const auto it = folders_[place->first].find(place->second);
  if (it == folders_[place->first].end()) return Status::Failed(StatusKind::kNotFound, path);
  if (it->second.folder) return Status::Failed(StatusKind::kDeleteFailed, path);
  folders_[place->first].erase(it);
  return Status::Ok();
}

Status FaultPlatform::RemoveFolder(const Path& path) {
  if (Operation('X')) return Status::Failed(StatusKind::kDeleteFailed, path, kPlantedCode);
  Guard(path);
  const auto place = Place(path);
  const auto node = Find(path);
  if (!place || !node) return Status::Failed(StatusKind::kNotFound, path);
  if (!node->folder || !folders_[node->id].empty() || path.Normal().text() == failing_delete_of)
    return Status::Failed(StatusKind::kDeleteFailed, path);
  folders_[place->first].erase(place->second);
  return Status::Ok();
}

Status FaultPlatform::SyncFolder(const Path& path) {
  if (Operation('F')) return Status::Failed(StatusKind::kFlushFailed, path, kPlantedCode);
  const auto node = Find(path);
  if (!node || !node->folder) return Status::Failed(StatusKind::kNotFound, path);
  // Names reach the disk in the order they changed: every move before
  // this flush goes with it, both its entries.
  for (const Move& move : moves_) {
    Entries& source = durable_folders_[move.from];
    if (const auto there = source.find(move.from_name);
        there != source.end() && there->second.id == move.node.id) {
      source.erase(there);
    }
    durable_folders_[move.to][move.to_name] = move.node;
  }
  moves_.clear();
  durable_folders_[node->id] = folders_[node->id];
  return Status::Ok();
}

Status FaultPlatform::CopyPermissions(const Path& from, const Path& to) {
  if (Operation('P')) return Status::Failed(StatusKind::kCannotCreate, to, kPlantedCode);
  if (!Find(from) || !Find(to)) return Status::Failed(StatusKind::kNotFound, to);
  return Status::Ok();
}

Status FaultPlatform::CreateDirectory(const Path& path) {
  const Status failed = Status::Failed(StatusKind::kCannotCreate, path);
  if (Operation('M')) return Status::Failed(StatusKind::kCannotCreate, path, kPlantedCode);
  if (Full()) return Status::Failed(StatusKind::kCannotCreate, path, ENOSPC);
  const auto place = Place(path);
  if (!place || folders_[place->first].count(place->second) != 0) return failed;
  folders_[place->first][place->second] = {true, NewFolder()};
  return Status::Ok();
}

Result<PathKind> FaultPlatform::Inspect(const Path& path) {
  const auto node = Find(path);
  if (!node) return PathKind::kMissing;
  return node->folder ? PathKind::kFolder : PathKind::kFile;
}

Result<std::vector<FolderEntry>> FaultPlatform::ListFolder(const Path& folder) {
  const auto node = Find(folder);
  if (!node || !node->folder) return Status::Failed(StatusKind::kNotFound, folder, ENOENT);
  std::vector<FolderEntry> listed;
  for (const auto& [name, child] : folders_[node->id]) {
    listed.push_back({name, child.folder, name[0] == '.'});
  }
  return listed;
}

namespace {

class HeldLock : public FileLock {
 public:
  HeldLock(std::shared_ptr<std::set<std::string>> held, std::string path)
      : held_(std::move(held)), path_(std::move(path)) {}
  ~HeldLock() override { held_->erase(path_); }

 private:
  std::shared_ptr<std::set<std::string>> held_;
  std::string path_;
};

}  // namespace

Result<Lock> FaultPlatform::LockFile(const Path& path) {
  if (Operation('L')) return Status::Failed(StatusKind::kCannotCreate, path, EIO);
  if (!Place(path)) return Status::Failed(StatusKind::kCannotCreate, path, ENOENT);
  const std::string normal = path.Normal().text();
  if (!held_.paths->insert(normal).second) return Status::Failed(StatusKind::kBusy, path);
  return Lock(std::make_unique<HeldLock>(held_.paths, normal));
}

void FaultPlatform::Pause(int /*milliseconds*/) {
  if (++pauses == release_after) {
    held_open.clear();
    failing_rename_to.clear();
    failing_delete_of.clear();
  }
}

Status FaultPlatform::CanReplace(const Path& path) {
  if (held_open.count(path.Normal().text()) == 0) return Status::Ok();
  return Status::Failed(StatusKind::kHeld, path);
}

void FaultPlatform::Guard(const Path& path) {
  const std::string normal = path.Normal().text();
  if (!guarded_folder.empty() && normal.rfind(guarded_folder + "\\", 0) == 0 &&
      held_.paths->count(Path(guarded_by).Normal().text()) == 0) {
    unlocked_changes.push_back(normal);
  }
}

}  // namespace dayledger::testing
