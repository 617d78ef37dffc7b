// Lays out a scheduler installation on disk: the user list, users at any
// data version with all their files, and the shared templates. The demo
// installation and the tests are built by this one helper.
#pragma once

#include <string>
#include <vector>

#include "platform/path.h"

namespace dayledger::demo {

struct UserSpec {
  std::string name = {};      // UTF-8; stored as CP949
  std::string version = {};   // "10000", "10100", "10200" or "10300"
  std::string password = {};  // UTF-8; empty means the data is not encrypted
  int entries_per_month = 2;
  int group_files = 2;
  int timetable_files = 1;
};

class InstallationBuilder {
 public:
  explicit InstallationBuilder(std::string root);  // native folder, created if missing

  void WriteTemplates();
  void WriteUserList(const std::vector<std::string>& names);  // UTF-8 names
  void WriteUser(const UserSpec& user);

  // Native paths.
  const std::string& root() const { return root_; }
  std::string UserDir(const std::string& name) const;
  // The AppDir for root(): its text ends in a backslash.
  Path AppDir() const;

  // File contents, as the scheduler writes them.
  static std::string MonthlyFile(int year, int month, const std::string& version, int entries);
  static std::string DataKeyFor(const std::string& password_utf8);
  static std::string PasswordDigestFor(const std::string& password_utf8);
  static std::string RepeatTemplate();
  static std::string AnniversaryTemplate(const std::string& name);

  static void WriteNative(const std::string& path, const std::string& bytes);
  static std::string ReadNative(const std::string& path);

 private:
  std::string root_;
};

}  // namespace dayledger::demo
