// One scheduler installation, opened once by each program: the disk as the
// scheduler sees it, where each user's folder, backup and lock lie, the
// lock that lets one program at a time change a user's folder, and the
// recovery of what an interrupted change left behind. Everything else
// reaches the installation through it: it holds the platform every verb
// reads and writes through, so none can go around its view.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "floor/copy_tree.h"
#include "floor/folder_swap.h"
#include "floor/said.h"
#include "platform/framework_error.h"
#include "platform/platform.h"
#include "platform/system_platform.h"
#include "platform/virtual_store_platform.h"
#include "state/file_names.h"

namespace dayledger {

// The user list as far as it could be read: the names in its order (CP949),
// and the error that stopped the reading (ok when none did).
struct UserList {
  std::vector<std::string> names;
  Status error;
};

// A user's lock, held while this lives. Only Installation::LockUser makes
// one, and what a verb decides on is read by functions that ask for it, so
// nothing is decided on before the lock is taken.
class UserLock {
 public:
  UserLock() = default;  // none held
  UserLock(UserLock&&) = default;
  UserLock& operator=(UserLock&&) = default;

  bool held() const { return lock_ != nullptr; }
  const std::string& user() const { return user_; }  // CP949

 private:
  friend class Installation;
  UserLock(std::string user, Lock lock, std::vector<Path> made)
      : user_(std::move(user)), lock_(std::move(lock)), made_(std::move(made)) {}

  std::string user_;
  Lock lock_;
  std::vector<Path> made_;  // the folders taking it made, outermost first
};

class Installation {
 public:
  // The installation in `folder` (in any spelling), read and written
  // through `view`, which outlives it. Opening it finishes or undoes what
  // an interrupted change left, before anything is read, with a note in
  // `notes` for each user and each file left. What such a change left that
  // cannot be finished or undone now (a file of it held, or lost) stops
  // the opening: the answer is that error and no installation, and the
  // notes say where.
  static Result<Installation> Open(Platform& view, const Path& folder, std::vector<Said>* notes);
  // This installation seen through `overlay`, a dry run's staging of its
  // view; nothing is recovered again.
  Installation Staged(Platform& overlay) const;

  Installation(Installation&&) = default;
  Installation& operator=(Installation&&) = default;

  // The disk as the scheduler sees it: every read and write of a verb goes
  // through this view.
  Platform& platform() const { return *view_; }

  // The folder as the scheduler spells it, ending in a backslash, so that
  // its places keep the scheduler's doubled separator ("C:\app\\users\u").
  const Path& app_dir() const { return app_dir_; }
  // The folder in normal form: single backslashes, none at the end.
  const Path& folder() const { return folder_; }

  // The user list; kNotFound when the installation has none, kReadFailed
  // when it cannot be opened.
  Result<UserList> Users();
  // The installation in the folder just above this one (where unpacking the
  // programs into a folder of their own puts them); nullopt when that folder
  // holds none.
  std::optional<Path> InstallationAbove();

  // A user's folder (CP949 name), as the scheduler's own messages name it.
  Path UserFolder(const std::string& user) const;
  // The backups' folder (upgrade_backup) and a user's backup in it.
  Path BackupRoot() const;
  Path BackupOf(const std::string& user) const;
  // The tool's own folder in upgrade_backup, and the user's path in one of
  // its places (state/file_names.h): never in the user's folder, which
  // holds nothing of ours, and never where a user's backup could be.
  Path ToolFolder() const;
  Path PlaceOf(ToolPlace place, const std::string& user) const;
  Path LockOf(const std::string& user) const;
  // A new backup is made in the tool's folder, and the earlier one moves
  // aside there while the two trade places.
  FolderSwap BackupSwapOf(const std::string& user) const;
  // The folder of the user's run records.
  Path RecordsOf(const std::string& user) const;
  // Makes the folders down to the place's own folder where missing; the
  // first that could not be made.
  Status MakePlace(ToolPlace place);
  // The VirtualStore folder the view reads and writes; empty when the
  // installation is seen as it is.
  Path VirtualStore() const;

  // Takes the lock that lets only one program at a time change the user's
  // folder (an upgrade from its start checks to the end of its commit, a
  // restore and recovery while they change it), making upgrade_backup when
  // first needed; kBusy when another holds it, or the failure that kept its
  // folders or its file from being made or opened.
  Result<UserLock> LockUser(const std::string& user);
  // Finishes or undoes what another program, cut short since this one
  // opened the installation, left in the user's folder: under the user's
  // lock, before a verb decides anything. The error that stopped it.
  Status RecoverUser(const UserLock& lock);
  // Lets go of the lock, and removes the folders taking it made where they
  // are still empty: so that a refusal, or a verb that changes nothing,
  // leaves the installation as it found it.
  void Release(UserLock* lock);
  // Whether another program holds the user's lock now. Makes no file: a user
  // never locked has no lock file, and nobody changing it.
  Result<bool> UserBusy(const std::string& user);

 private:
  Installation(Platform& view, const Path& folder);
  // Finishes or undoes what an interrupted change left in each user's
  // folder, into `recovered_`.
  void Recover();
  // Removes the lock files nobody holds (left by a killed program on a
  // system that cannot delete a file as its holder dies).
  void RemoveStaleLocks();
  // Finishes or takes away what an interrupted backup left in upgrade_backup,
  // for every user but those whose recovery stopped.
  void SettleBackups(const std::set<std::string>& unrecovered);
  // The same for what an earlier build's interrupted backup left there.
  void SettleEarlierBackups();
  // Settles one user's backup swap and removes a half kept copy, under the
  // user's lock, into the notes.
  void SettleUser(const std::string& user);
  // The entries of a folder the opening looks through (none for one that is
  // not there); nullopt for one that cannot be listed, which stops the
  // opening with a note: what it may hold is never taken for nothing.
  std::optional<std::vector<FolderEntry>> ListedOrStop(const Path& folder);
  // Each of `folders` (each in the one before) made where missing; those
  // made, outermost first, into `made`.
  Status MakeFolders(const std::vector<Path>& folders, std::vector<Path>* made);

  Platform* view_;
  Path app_dir_;
  Path folder_;
  // Gathered while opening, and handed out by Open.
  std::vector<Said> recovered_;
  Status stopped_;
};

// An installation as a program opens it: the view of the disk it is seen
// through, which also words the notes, what opening finished or undid, and
// the installation, or the error that stopped the opening.
struct OpenedInstallation {
  Path folder;  // in normal form
  std::unique_ptr<Platform> view;
  std::vector<Said> notes;
  Result<Installation> installation;
};
// The installation in `folder` (in any spelling), seen as the scheduler
// sees it: through the user's VirtualStore where Windows keeps one for it.
OpenedInstallation OpenInstallation(SystemPlatform& system, const Path& folder);
// The installation the running program lies in, opened the same way.
OpenedInstallation OpenProgramInstallation(SystemPlatform& system);

}  // namespace dayledger
