// Names of the files the tool itself keeps in a user's folder while it works:
// they are not the user's data, so the backup skips them and recovery knows
// them. Data file listings skip them as hidden files (leading ".").
#pragma once

#include <string>

namespace dayledger {

inline constexpr char kWorkFilePrefix[] = ".dlu-";
inline constexpr char kJournalName[] = ".dlu-journal";
// Where an earlier build kept its lock, in the user's folder. Recovery
// removes it while holding it, so that no holder loses it.
inline constexpr char kLockName[] = ".dlu-lock";

// A user's new backup while it is made, and the earlier one while the two
// trade places: beside the backups in upgrade_backup, followed by the user's name.
inline constexpr char kNewBackupPrefix[] = ".dlu-new-";
inline constexpr char kOldBackupPrefix[] = ".dlu-old-";

inline bool IsWorkFile(const std::string& name) { return name.rfind(kWorkFilePrefix, 0) == 0; }

}  // namespace dayledger
