// The opened installation: its folder, its view of the disk, its places and
// its users' locks. Its recovery is in installation_recovery.cpp.
#include "floor/installation.h"

#include <string_view>

#include "platform/cp949_codec.h"
#include "platform/path.h"
#include "state/file_names.h"
#include "state/line_file.h"

namespace dayledger {

namespace {

// The scheduler's AppDir: the folder with a backslash at its end.
Path AppDirOf(const Path& folder) {
  const Path normal = folder.Normal();
  if (normal.empty() || normal.text().back() == '\\') return normal;
  return normal.WithSuffix("\\");
}

}  // namespace

Installation::Installation(Platform& view, const Path& folder)
    : view_(&view), app_dir_(AppDirOf(folder)), folder_(folder.Normal()) {}

Result<Installation> Installation::Open(Platform& view, const Path& folder,
                                        std::vector<Said>* notes) {
  Installation installation(view, folder);
  installation.Recover();
  *notes = std::move(installation.recovered_);
  installation.recovered_.clear();
  if (!installation.stopped_.ok()) return installation.stopped_;
  return installation;
}

Installation Installation::Staged(Platform& overlay) const { return {overlay, app_dir_}; }

OpenedInstallation OpenInstallation(SystemPlatform& system, const Path& folder) {
  std::unique_ptr<Platform> view;
  if (const auto found = system.VirtualStoreFolder(folder.Normal())) {
    view = std::make_unique<VirtualStorePlatform>(&system, folder.Normal(), *found);
  } else {
    view = std::make_unique<PlatformWrapper>(&system);
  }
  std::vector<Said> notes;
  Result<Installation> installation = Installation::Open(*view, folder, &notes);
  return {folder.Normal(), std::move(view), std::move(notes), std::move(installation)};
}

OpenedInstallation OpenProgramInstallation(SystemPlatform& system) {
  return OpenInstallation(system, system.ExecutablePath().Parent());
}

Result<UserList> Installation::Users() {
  const Path path = UserListPath(app_dir_);
  if (const Status opened = view_->TestOpen(path); !opened.ok()) return opened;
  UserList users;
  try {
    LineList list;
    ReadLines(*view_, path, &list);
    for (int i = 0; i < StrToInt(list, 0); ++i) users.names.push_back(list.Get(i + 1));
  } catch (const FrameworkError& error) {
    users.error = error.status();
  }
  return users;
}

std::optional<Path> Installation::InstallationAbove() {
  const Path above = folder_.Parent();
  if (above.empty() || !view_->TestOpen(UserListPath(above.WithSuffix("\\"))).ok())
    return std::nullopt;
  return above;
}

Path Installation::UserFolder(const std::string& user) const {
  return dayledger::UserFolder(app_dir_, user);
}

Path Installation::BackupRoot() const { return dayledger::BackupRoot(folder_); }

Path Installation::BackupOf(const std::string& user) const {
  return dayledger::BackupOf(folder_, user);
}

Path Installation::ToolFolder() const { return dayledger::ToolFolder(folder_); }

Path Installation::PlaceOf(ToolPlace place, const std::string& user) const {
  return ToolPlaceOf(folder_, place, user);
}

FolderSwap Installation::BackupSwapOf(const std::string& user) const {
  return {BackupOf(user), PlaceOf(ToolPlace::kNew, user), PlaceOf(ToolPlace::kOld, user),
          PlaceOf(ToolPlace::kSwaps, user)};
}

Path Installation::LockOf(const std::string& user) const {
  return dayledger::LockOf(folder_, user);
}

Path Installation::RecordsOf(const std::string& user) const {
  return dayledger::RecordsOf(folder_, user);
}

Status Installation::MakeFolders(const std::vector<Path>& folders, std::vector<Path>* made) {
  for (const Path& folder : folders) {
    const Result<PathKind> there = view_->Inspect(folder);
    if (!there.ok()) return there.status();
    if (*there == PathKind::kFolder) continue;
    if (Status created = view_->CreateDirectory(folder); !created.ok()) return created;
    made->push_back(folder);
    // What is made in it later must not be lost to a power cut with it.
    if (Status flushed = view_->SyncFolder(folder.Parent()); !flushed.ok()) return flushed;
  }
  return Status::Ok();
}

Status Installation::MakePlace(ToolPlace place) {
  std::vector<Path> made;
  return MakeFolders({BackupRoot(), ToolFolder(), ToolPlaceFolder(folder_, place)}, &made);
}

Path Installation::VirtualStore() const {
  // The view is the store's where Windows keeps one for the installation.
  const auto* store = dynamic_cast<const VirtualStorePlatform*>(view_);
  return store ? store->store_root() : Path();
}

Result<UserLock> Installation::LockUser(const std::string& user) {
  std::vector<Path> made;
  Result<Lock> taken = Status::Failed(StatusKind::kCannotCreate, LockOf(user));
  // Another program letting go of its lock removes the folders it made
  // where they are empty, perhaps just after this one found them there:
  // they are made once more. A folder that cannot be made is reported by
  // the lock's own open.
  for (int tries = 0; tries < 2 && taken.kind() == StatusKind::kCannotCreate; ++tries) {
    IgnoreFailure(
        MakeFolders({BackupRoot(), ToolFolder(), ToolPlaceFolder(folder_, ToolPlace::kLocks)},
                    &made),
        "the lock's open tells");
    taken = view_->LockFile(LockOf(user));
  }
  if (!taken.ok()) {
    UserLock none("", Lock(), std::move(made));
    Release(&none);
    return taken.status();
  }
  return UserLock(user, std::move(*taken), std::move(made));
}

void Installation::Release(UserLock* lock) {
  lock->lock_ = Lock();
  // Only folders still empty go: another program may have put something there since.
  for (auto it = lock->made_.rbegin(); it != lock->made_.rend(); ++it) {
    if (!view_->RemoveFolder(*it).ok()) break;
  }
  lock->made_.clear();
}

Result<bool> Installation::UserBusy(const std::string& user) {
  const Path path = LockOf(user);
  const Result<PathKind> there = view_->Inspect(path);
  if (!there.ok()) return there.status();
  if (*there != PathKind::kFile) return false;
  return view_->LockFile(path).kind() == StatusKind::kBusy;
}

void Installation::RemoveStaleLocks() {
  // Taken and let go: a released lock takes its file with it. A folder that
  // cannot be listed holds no lock this could take either, and a lock that
  // is held, or cannot be taken, is left as it is.
  const Path locks = ToolPlaceFolder(folder_, ToolPlace::kLocks);
  for (const FolderEntry& entry : view_->ListFolder(locks).value_or({})) {
    if (!entry.folder) IgnoreFailure(view_->LockFile(locks / entry.name), "a held lock stays");
  }
  // An earlier build kept its lock files beside the backups; the same holds
  // for them.
  const Path root = BackupRoot();
  for (const FolderEntry& entry : view_->ListFolder(root).value_or({})) {
    if (!entry.folder && ParseEarlierLock(entry.name)) {
      IgnoreFailure(view_->LockFile(root / entry.name), "a held lock stays");
    }
  }
}

}  // namespace dayledger
