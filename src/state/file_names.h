// Where an installation keeps what the tool reads and writes, relative to
// AppDir (which ends in a backslash). The paths keep the form the
// scheduler's own messages show ("C:\app\\users\name"), so every text that
// names a file stays as the scheduler's users know it.
#pragma once

#include <string>

namespace dayledger {

inline std::string UsersFolder(const std::string& app_dir) { return app_dir + "\\users"; }
inline std::string UserListPath(const std::string& app_dir) {
  return UsersFolder(app_dir) + "\\userlist.kvd";
}
inline std::string UserFolder(const std::string& app_dir, const std::string& user) {
  return UsersFolder(app_dir) + "\\" + user;
}
// The profile in a user's folder, or in its backup.
inline std::string ProfilePath(const std::string& user_folder) {
  return user_folder + "\\profile.qbd";
}
// A user's folder, or its backup, holds these.
inline constexpr char kRepeatScheduleName[] = "repeat.qbsd";
inline std::string ScheduleFolder(const std::string& user_folder) {
  return user_folder + "\\schedules\\";  // a file's path is this and its name
}
inline std::string MergedSchedulePath(const std::string& user_folder) {
  return ScheduleFolder(user_folder) + "schedules.qbsd";
}
inline std::string RepeatSchedulePath(const std::string& user_folder) {
  return ScheduleFolder(user_folder) + kRepeatScheduleName;
}
inline std::string GroupInfoPath(const std::string& user_folder) {
  return user_folder + "\\group.qbd";
}
inline std::string GroupsFolder(const std::string& user_folder) { return user_folder + "\\groups"; }
inline std::string TimetablesFolder(const std::string& user_folder) {
  return user_folder + "\\timetables";
}
inline std::string AnniversaryFolder(const std::string& user_folder) {
  return user_folder + "\\anniversary";
}

// The scheduler's templates for new users.
inline std::string TemplatePath(const std::string& app_dir, const std::string& name) {
  return app_dir + "\\data\\userscommon\\" + name;
}

}  // namespace dayledger
