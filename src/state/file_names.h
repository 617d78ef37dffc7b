// Every place on the disk the tool reads or writes, in one file: the
// scheduler's own, relative to AppDir (whose text ends in a backslash), and
// the tool's own beside them. The scheduler's paths keep the form its own
// messages show ("C:\app\\users\name"), so every text that names a file
// stays as the scheduler's users know it.
#pragma once

#include <string>

#include "platform/cp949_codec.h"
#include "platform/path.h"

namespace dayledger {

inline Path UsersFolder(const Path& app_dir) { return app_dir / "users"; }
inline Path UserListPath(const Path& app_dir) { return UsersFolder(app_dir) / "userlist.kvd"; }
// A user's folder; the user list names the user in CP949.
inline Path UserFolder(const Path& app_dir, const std::string& user) {
  return UsersFolder(app_dir) / Cp949ToUtf8Text(user);
}
// The profile in a user's folder, or in its backup.
inline Path ProfilePath(const Path& user_folder) { return user_folder / "profile.qbd"; }
// A user's folder, or its backup, holds these.
inline constexpr char kRepeatScheduleName[] = "repeat.qbsd";
inline Path ScheduleFolder(const Path& user_folder) { return user_folder / "schedules"; }
inline Path MergedSchedulePath(const Path& user_folder) {
  return ScheduleFolder(user_folder) / "schedules.qbsd";
}
inline Path RepeatSchedulePath(const Path& user_folder) {
  return ScheduleFolder(user_folder) / kRepeatScheduleName;
}
inline Path GroupInfoPath(const Path& user_folder) { return user_folder / "group.qbd"; }
inline Path GroupsFolder(const Path& user_folder) { return user_folder / "groups"; }
inline Path TimetablesFolder(const Path& user_folder) { return user_folder / "timetables"; }
inline Path AnniversaryFolder(const Path& user_folder) { return user_folder / "anniversary"; }

// The scheduler's templates for new users.
inline Path TemplatesFolder(const Path& app_dir) { return app_dir / "data" / "userscommon"; }
inline Path TemplatePath(const Path& app_dir, const std::string& name) {
  return TemplatesFolder(app_dir) / name;
}

// The files the tool itself keeps in a user's folder while it works: they
// are not the user's data, so the backup skips them and recovery knows them.
// Data file listings skip them as hidden files (leading ".").
inline constexpr char kWorkFilePrefix[] = ".dlu-";
inline constexpr char kJournalName[] = ".dlu-journal";
// Where an earlier build kept its lock, in the user's folder. Recovery
// removes it while holding it, so that no holder loses it.
inline constexpr char kLockName[] = ".dlu-lock";
inline bool IsWorkFile(const std::string& name) { return name.rfind(kWorkFilePrefix, 0) == 0; }

// The tool's own places beside the user's folders, below the installation's
// folder in normal form: the backups' folder, a user's backup in it, and
// beside the backup the user's lock and run records, never in the user's
// folder, which holds nothing of ours.
inline Path BackupRoot(const Path& folder) { return folder / "upgrade_backup"; }
inline Path BackupOf(const Path& folder, const std::string& user) {
  return BackupRoot(folder) / Cp949ToUtf8Text(user);
}
inline constexpr char kLockSuffix[] = ".lock";
inline Path LockOf(const Path& folder, const std::string& user) {
  return BackupOf(folder, user).WithSuffix(kLockSuffix);
}
inline Path RecordsOf(const Path& folder, const std::string& user) {
  return BackupOf(folder, user).WithSuffix(".logs");
}
// A run record in the records' folder: its time stamp, and its number in
// that second after the first, then this.
inline constexpr char kRecordSuffix[] = ".txt";
// A user's new backup while it is made, and the earlier one while the two
// trade places: beside the backups, followed by the user's name.
inline constexpr char kNewBackupPrefix[] = ".dlu-new-";
inline constexpr char kOldBackupPrefix[] = ".dlu-old-";
// The user's folder as a restore found it, beside the backup, followed by
// the time of the restore.
inline constexpr char kRestoreAsideInfix[] = ".before-restore-";

}  // namespace dayledger
