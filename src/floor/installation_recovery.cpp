// The recovery of every user's folder when an installation is opened.
#include "floor/installation_recovery.h"

#include "commit/commit.h"
#include "floor/installation.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "state/file_names.h"

namespace dayledger {
std::string RecoveryMessage(const std::vector<std::string>& notes) {
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
  return text;
}

void Installation::SettleBackups() {
  Platform& platform = *this;
  for (const FolderEntry& entry : platform.ListFolder(BackupRoot()).value_or({})) {
    std::string name = entry.name;
    for (const std::string prefix : {kNewBackupPrefix, kOldBackupPrefix}) {
      if (name.starts_with(prefix)) name.erase(0, prefix.size());
    }
    if (!entry.folder || name == entry.name) continue;
    const std::string user = Utf8ToCp949Text(name);
    // Only while no other program makes that backup now.
    const Result<UserLock> lock = LockUser(user);
    if (!lock.ok()) continue;
    if (const Status settled = SettleSwap(platform, BackupSwapOf(user)); !settled.ok()) {
      recovered_.push_back(Words(Say::kNoteFailed) + words::NoteUser(name) + " " +
                           ReportedText(platform, StatusError(settled)));
    }
  }
}

void Installation::Recover() {
  Platform& platform = *this;
  std::vector<std::string>& notes = recovered_;
  RemoveStaleLocks();
  SettleBackups();
  const Path users = UsersFolder(app_dir_);
  for (const FolderEntry& entry : platform.ListFolder(users).value_or({})) {
    if (!entry.folder) continue;
    const std::string who = words::NoteUser(entry.name);
    const std::string user = Utf8ToCp949Text(entry.name);  // as the user list names it
    const Path folder = users / entry.name;
    // A folder without work files is left untouched; one whose lock is held
    // belongs to a live upgrade, whose journal must never be touched. An
    // earlier build kept its lock in the user's folder: that file goes too,
    // but only while this program holds it, never from under its holder.
    if (!HasWorkFiles(platform, folder)) continue;
    const Result<UserLock> lock = LockUser(user);
    const Path old_lock_path = folder / kLockName;
    Result<Lock> old_lock = Lock();
    if (lock.ok() && platform.Inspect(old_lock_path) == PathKind::kFile) {
      old_lock = platform.LockFile(old_lock_path);
    }
    if (lock.kind() == StatusKind::kBusy || old_lock.kind() == StatusKind::kBusy) {
      notes.push_back(Words(Say::kNoteBusy) + who);
      continue;
    }
    if (!lock.ok()) {
      notes.push_back(std::string(Words(Say::kLockUnavailable)) + platform.Shown(LockOf(user)) +
                      who);
      continue;
    }
    const Result<RecoveryReport> report = RecoverFolder(platform, folder);
    if (!report.ok()) {
      notes.push_back(Words(Say::kNoteFailed) + who + " " +
                      ReportedText(platform, FrameworkError(report.status())));
      recovery_stopped_ = true;
      continue;
    }
    if (report->action != RecoveryAction::kNone)
      notes.push_back(words::RecoveryNote(report->action) + who);
    for (const Path& path : report->undeleted) {
      notes.push_back(Words(Say::kLogUndeleted) + platform.Shown(path));
    }
  }
}

}  // namespace dayledger
