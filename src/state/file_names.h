// Every place on the disk the tool reads or writes, in one file: the
// scheduler's own, relative to AppDir (whose text ends in a backslash), and
// the tool's own beside them. The scheduler's paths keep the form its own
// messages show ("C:\app\\users\name"), so every text that names a file
// stays as the scheduler's users know it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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
// folder in normal form: the backups' folder and a user's backup in it
// (upgrade_backup\<user>), as the scheduler's users know them.
inline Path BackupRoot(const Path& folder) { return folder / "upgrade_backup"; }
inline Path BackupOf(const Path& folder, const std::string& user) {
  return BackupRoot(folder) / Cp949ToUtf8Text(user);
}
// Everything else the tool keeps lives in a folder of its own in
// upgrade_backup, whose name no user may bear, with a place for each kind
// and the user's name as the last part of each path: so no user's name can
// ever reach a name of the tool's, nor the tool's a user's backup.
inline constexpr char kToolFolderName[] = ".dlu";
inline Path ToolFolder(const Path& folder) { return BackupRoot(folder) / kToolFolderName; }
enum class ToolPlace {
  kLocks,    // the user's lock file, there only while held
  kRecords,  // the folder of the user's run records
  kNew,      // a new backup while it is made
  kOld,      // the folder of earlier backups moved aside, each under a number
  kSwaps,    // the record that a new backup is whole, while it takes its place
  kKeeping,  // a copy of the user's folder that restore is keeping, while made
  kKept,     // the folder of restore's kept copies, each under its time
};
inline constexpr ToolPlace kToolPlaces[] = {
    ToolPlace::kLocks, ToolPlace::kRecords, ToolPlace::kNew, ToolPlace::kOld,
    ToolPlace::kSwaps, ToolPlace::kKeeping, ToolPlace::kKept};
inline const char* ToolPlaceName(ToolPlace place) {
  switch (place) {
    case ToolPlace::kLocks:
      return "locks";
    case ToolPlace::kRecords:
      return "logs";
    case ToolPlace::kNew:
      return "new";
    case ToolPlace::kOld:
      return "old";
    case ToolPlace::kSwaps:
      return "swaps";
    case ToolPlace::kKeeping:
      return "keeping";
    case ToolPlace::kKept:
      return "kept";
  }
  return "";
}
inline Path ToolPlaceFolder(const Path& folder, ToolPlace place) {
  return ToolFolder(folder) / ToolPlaceName(place);
}
// The user's own path in a place of the tool's.
inline Path ToolPlaceOf(const Path& folder, ToolPlace place, const std::string& user) {
  return ToolPlaceFolder(folder, place) / Cp949ToUtf8Text(user);
}
// The user (CP949) a name listed in a place of the tool's belongs to.
inline std::string UserOfToolPlace(const std::string& listed) { return Utf8ToCp949Text(listed); }
inline Path LockOf(const Path& folder, const std::string& user) {
  return ToolPlaceOf(folder, ToolPlace::kLocks, user);
}
inline Path RecordsOf(const Path& folder, const std::string& user) {
  return ToolPlaceOf(folder, ToolPlace::kRecords, user);
}
// A run record in the records' folder: its time stamp, and its number in
// that second after the first, then this.
inline constexpr char kRecordSuffix[] = ".txt";
// An earlier backup moved aside, or a kept copy: numbered, or named by a
// time stamp with a number after it where that second has one already.
inline Path Numbered(const Path& folder, const std::string& stem, int n) {
  return folder / (n <= 1 ? stem : stem + "-" + std::to_string(n));
}

// What earlier builds of the tool left beside the backups, still found:
// their lock files (upgrade_backup\<user>.lock), their run records
// (upgrade_backup\<user>.logs, left where they are), and their backup
// swaps (upgrade_backup\.dlu-new-<user> and .dlu-old-<user>).
inline constexpr char kEarlierLockSuffix[] = ".lock";
inline constexpr char kEarlierNewBackupPrefix[] = ".dlu-new-";
inline constexpr char kEarlierOldBackupPrefix[] = ".dlu-old-";
// The user (CP949) and the kind of an earlier build's swap folder in
// upgrade_backup; nullopt for any other name.
struct EarlierSwapFolder {
  std::string user;
  bool made = false;  // the new copy, or else the earlier backup aside
};
inline std::optional<EarlierSwapFolder> ParseEarlierSwapFolder(const std::string& listed) {
  for (const char* prefix : {kEarlierNewBackupPrefix, kEarlierOldBackupPrefix}) {
    const std::string start = prefix;
    if (listed.size() > start.size() && listed.rfind(start, 0) == 0) {
      return EarlierSwapFolder{Utf8ToCp949Text(listed.substr(start.size())),
                               start == kEarlierNewBackupPrefix};
    }
  }
  return std::nullopt;
}
inline std::string EarlierSwapName(const std::string& user, bool made) {
  return (made ? kEarlierNewBackupPrefix : kEarlierOldBackupPrefix) + user;
}
inline Path EarlierSwapFolderOf(const Path& folder, const std::string& user, bool made) {
  return BackupRoot(folder) / Cp949ToUtf8Text(EarlierSwapName(user, made));
}
// The user (CP949) of an earlier build's lock file in upgrade_backup.
inline std::optional<std::string> ParseEarlierLock(const std::string& listed) {
  const std::string suffix = kEarlierLockSuffix;
  if (listed.size() <= suffix.size() || !listed.ends_with(suffix)) return std::nullopt;
  return Utf8ToCp949Text(listed.substr(0, listed.size() - suffix.size()));
}

// Whether a user's name (CP949, as the user list holds it) can be the last
// part of the tool's paths. A name that leads out of its folder (a drive's
// "c:" included) means the list is damaged; one that Windows cannot keep apart from another name
// (a trailing dot or space, a device name such as CON or COM1, a character
// Windows refuses in a name), or the tool's own folder's name, would make
// two users share a folder, or a user share the tool's.
// Windows keeps names apart without regard to the case of their letters.
inline bool SameNameOnWindows(const std::string& a, const std::string& b) {
  return AsciiLower(a) == AsciiLower(b);
}
enum class UserNameFault { kNone, kLeavesFolder, kNotKeptApart, kToolsOwn };
inline UserNameFault CheckUserName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("\\/:") != std::string::npos) {
    return UserNameFault::kLeavesFolder;
  }
  const std::string lower = AsciiLower(name);
  if (lower == kToolFolderName) return UserNameFault::kToolsOwn;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("<>\"|?*").find(c) != std::string_view::npos) {
      return UserNameFault::kNotKeptApart;
    }
  }
  if (name.back() == '.' || name.back() == ' ') return UserNameFault::kNotKeptApart;
  // Windows takes a device's name for the device, whatever follows a dot.
  const std::string stem = lower.substr(0, lower.find('.'));
  const std::string_view trimmed(stem.data(), stem.find_last_not_of(' ') + 1);
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
    if (trimmed == device) return UserNameFault::kNotKeptApart;
  }
  if (trimmed.size() == 4 && (trimmed.starts_with("com") || trimmed.starts_with("lpt")) &&
      trimmed[3] >= '0' && trimmed[3] <= '9') {
    return UserNameFault::kNotKeptApart;
  }
  return UserNameFault::kNone;
}

}  // namespace dayledger
