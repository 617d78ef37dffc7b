// Where an installation keeps what the tool reads and writes, relative to
// AppDir (whose text ends in a backslash). The paths keep the form the
// scheduler's own messages show ("C:\app\\users\name"), so every text that
// names a file stays as the scheduler's users know it.
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

}  // namespace dayledger
