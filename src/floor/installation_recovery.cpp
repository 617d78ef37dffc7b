// The recovery of every user's folder when an installation is opened.
#include <algorithm>
#include <set>

#include "commit/commit.h"
#include "floor/installation.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

// A note about a user (UTF-8), and the error or place it names.
Said Note(Say say, const std::string& user, const Status& error = Status(),
          const Path& path = Path()) {
  Said note(say, NoticeKind::kInformation, path);
  if (!user.empty()) note.items = {user};
  note.error = error;
  return note;
}

}  // namespace

void Installation::SettleUser(const std::string& user) {
  const FolderSwap swap = BackupSwapOf(user);
  Platform& platform = *view_;
  const std::string who = Cp949ToUtf8Text(user);
  // Never while another program makes or settles that backup now.
  Result<UserLock> lock = LockUser(user);
  if (lock.kind() == StatusKind::kBusy) return;
  if (!lock.ok()) {
    recovered_.push_back(Note(Say::kNoteLockUnavailable, who, lock.status(), LockOf(user)));
    stopped_ = lock.status();
    return;
  }
  std::vector<Path> left;
  if (const Status settled = SettleSwap(platform, swap, &left); !settled.ok()) {
    recovered_.push_back(Note(Say::kNoteFailed, who, StatusError(settled).status()));
    // A move left half done stops the program, as a held journal does;
    // a half copy that stays is only named.
    if (stopped_.ok() && SwapPending(platform, swap)) stopped_ = settled;
  }
  // A copy restore was keeping when it was cut is half, and never kept.
  if (const Status removed = RemoveTree(platform, PlaceOf(ToolPlace::kKeeping, user));
      !removed.ok()) {
    left.push_back(removed.path);
  }
  Release(&*lock);
  for (const Path& path : left) recovered_.push_back(Note(Say::kLogLeftover, "", Status(), path));
}

void Installation::SettleBackups(const std::set<std::string>& unrecovered) {
  // Every user with something in a place of the swap's, by the names there.
  std::set<std::string> users;
  for (const ToolPlace place :
       {ToolPlace::kNew, ToolPlace::kOld, ToolPlace::kSwaps, ToolPlace::kKeeping}) {
    const std::optional<std::vector<FolderEntry>> listed =
        ListedOrStop(ToolPlaceFolder(folder_, place));
    if (!listed) continue;
    for (const FolderEntry& entry : *listed) users.insert(UserOfToolPlace(entry.name));
  }
  for (const std::string& user : users) {
    if (unrecovered.count(user) == 0) SettleUser(user);
  }
  SettleEarlierBackups();
}

void Installation::SettleEarlierBackups() {
  Platform& platform = *view_;
  const Path root = BackupRoot();
  std::set<std::string> users;
  // Where the folder cannot be listed, what an earlier build left waits for
  // an opening that can: nothing of this build's depends on it.
  for (const FolderEntry& entry : platform.ListFolder(root).value_or({})) {
    if (const auto found = ParseEarlierSwapFolder(entry.name); entry.folder && found) {
      users.insert(found->user);
    }
  }
  if (users.empty()) return;
  // A folder of that name is an earlier build's only while no user bears
  // the name: otherwise it is that user's backup.
  const Result<UserList> list = Users();
  if (!list.ok() || !list->error.ok()) return;
  for (const std::string& user : users) {
    const bool named = std::any_of(list->names.begin(), list->names.end(), [&](const auto& name) {
      return SameNameOnWindows(name, EarlierSwapName(user, true)) ||
             SameNameOnWindows(name, EarlierSwapName(user, false));
    });
    if (named) continue;
    Result<UserLock> lock = LockUser(user);
    if (!lock.ok()) continue;
    // The earlier build moved its backup aside only once the new copy was
    // whole and flushed: with the backup's place empty, the new copy (or
    // else the earlier backup) takes it; with a backup in place, what is
    // left of the swap goes.
    const Path current = BackupOf(user);
    const Path made = EarlierSwapFolderOf(folder_, user, true);
    const Path aside = EarlierSwapFolderOf(folder_, user, false);
    const Result<PathKind> aside_there = platform.Inspect(aside);
    const Result<PathKind> made_there = platform.Inspect(made);
    if (!aside_there.ok() || !made_there.ok()) {
      Release(&*lock);
      continue;
    }
    Status settled;
    if (*aside_there == PathKind::kFolder) {
      // An empty folder a start made holds no backup and goes. What is then
      // in the backup's place is the finished swap's new copy only where it
      // lists as holding something: one that cannot be looked at or
      // listed, or an empty one that would not go, keeps both copies aside.
      IgnoreFailure(platform.RemoveFolder(current), "what stays is looked at below");
      const Result<PathKind> placed = platform.Inspect(current);
      if (!placed.ok()) {
        settled = placed.status();
      } else if (*placed == PathKind::kMissing) {
        settled = platform.RenameFile(*made_there == PathKind::kFolder ? made : aside, current);
      } else {
        const Result<std::vector<FolderEntry>> in_place = platform.ListFolder(current);
        settled = !in_place.ok()      ? in_place.status()
                  : in_place->empty() ? Status::Failed(StatusKind::kDeleteFailed, current)
                                      : Status::Ok();
      }
    }
    if (settled.ok()) settled = RemoveTree(platform, made);
    if (settled.ok()) settled = RemoveTree(platform, aside);
    if (settled.ok()) settled = platform.SyncFolder(root);
    Release(&*lock);
    if (!settled.ok()) {
      recovered_.push_back(
          Note(Say::kNoteFailed, Cp949ToUtf8Text(user), StatusError(settled).status()));
    }
  }
}

std::optional<std::vector<FolderEntry>> Installation::ListedOrStop(const Path& folder) {
  if (SurelyMissing(*view_, folder)) return std::vector<FolderEntry>();
  Result<std::vector<FolderEntry>> listed = view_->ListFolder(folder);
  if (listed.ok()) return std::move(*listed);
  const Status held = Status::Failed(StatusKind::kRecoveryHeld, folder, listed.status().code);
  recovered_.push_back(Note(Say::kNoteFailed, "", StatusError(held).status()));
  stopped_ = held;
  return std::nullopt;
}

Status Installation::RecoverUser(const UserLock& lock) {
  Platform& platform = *view_;
  const Path folder = UserFolder(lock.user()).Normal();
  if (!lock.held()) return Status::Ok();
  // A folder that cannot be looked through is left to the backup and the
  // stages, which cannot read it either and say so in their own words; the
  // backup copies no folder that holds a journal, and the commit writes
  // none where it cannot rule one out.
  const Result<bool> unfinished = HasWorkFiles(platform, folder);
  if (!unfinished.ok() || !*unfinished) return Status::Ok();
  const Result<RecoveryReport> report = RecoverFolder(platform, folder);
  return report.status();
}

void Installation::Recover() {
  Platform& platform = *view_;
  std::vector<Said>& notes = recovered_;
  RemoveStaleLocks();
  // A user whose change could not be finished now keeps everything else of
  // theirs as it is too, the backup's swap included, for the next start.
  std::set<std::string> unrecovered;
  const Path users = UsersFolder(app_dir_);
  // A users folder that cannot be listed is looked through again, one user
  // at a time, by each start under the user's lock; the backups' swaps wait
  // with it, as those of a user whose recovery stopped do.
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(users);
  if (!listed.ok() && listed.kind() != StatusKind::kNotFound) return;
  for (const FolderEntry& entry : listed.value_or({})) {
    if (!entry.folder) continue;
    const std::string& who = entry.name;
    const std::string user = Utf8ToCp949Text(entry.name);  // as the user list names it
    const Path folder = users / entry.name;
    // A folder without work files is left untouched; one whose lock is held
    // belongs to a live upgrade, whose journal must never be touched. An
    // earlier build kept its lock in the user's folder: that file goes too,
    // but only while this program holds it, never from under its holder.
    // One that cannot be looked through is named, and left: its user's
    // start, which looks again under the lock, refuses it as it stands.
    const Result<bool> unfinished = HasWorkFiles(platform, folder);
    if (!unfinished.ok()) {
      notes.push_back(Note(Say::kNoteFailed, who, StatusError(unfinished.status()).status()));
      unrecovered.insert(user);
      continue;
    }
    if (!*unfinished) continue;
    Result<UserLock> lock = LockUser(user);
    const Path old_lock_path = folder / kLockName;
    Result<Lock> old_lock = Lock();
    // One that cannot be looked at is tried for its lock all the same.
    if (lock.ok() && !SurelyMissing(platform, old_lock_path)) {
      old_lock = platform.LockFile(old_lock_path);
    }
    if (lock.kind() == StatusKind::kBusy || old_lock.kind() == StatusKind::kBusy) {
      if (lock.ok()) Release(&*lock);
      notes.push_back(Note(Say::kNoteBusy, who));
      continue;
    }
    if (!lock.ok()) {
      notes.push_back(Note(Say::kNoteLockUnavailable, who, lock.status(), LockOf(user)));
      continue;
    }
    const Result<RecoveryReport> report = RecoverFolder(platform, folder);
    // The folders the lock needed go with it where nothing else came.
    Release(&*lock);
    if (!report.ok()) {
      notes.push_back(Note(Say::kNoteFailed, who, report.status()));
      stopped_ = report.status();
      unrecovered.insert(user);
      continue;
    }
    switch (report->action) {
      case RecoveryAction::kRolledForward:
        notes.push_back(Note(Say::kNoteRolledForward, who));
        break;
      case RecoveryAction::kRolledBack:
        notes.push_back(Note(Say::kNoteRolledBack, who));
        break;
      case RecoveryAction::kCleaned:
        notes.push_back(Note(Say::kNoteCleaned, who));
        break;
      case RecoveryAction::kNone:
        break;
    }
    for (const Path& path : report->undeleted) {
      notes.push_back(Note(Say::kLogUndeleted, "", Status(), path));
    }
  }
  SettleBackups(unrecovered);
}

}  // namespace dayledger
