// A platform that changes nothing on disk: writes, copies, deletions and new
// folders land in memory and later reads see them, as on the real disk. The
// pre-flight check runs the real upgrade on it. It also remembers the last
// path read, so an error without a path can be placed.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/platform.h"

namespace dayledger {

class OverlayPlatform : public PlatformWrapper {
 public:
  explicit OverlayPlatform(Platform* target) : PlatformWrapper(target) {}

  bool TestOpen(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  WriteResult WriteFile(const std::string& path, const std::string& bytes) override;
  bool CreateDirectory(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  // The backup is not taken: the check only reads.
  int CopyTree(const std::string& from, const std::string& to) override;
  std::optional<std::vector<std::string>> ListQbdFiles(const std::string& folder) override;

  // Puts `bytes` in place of the file, or an empty folder in place of a
  // missing one, for the following runs.
  void Substitute(const std::string& path, const std::string& bytes);
  void SubstituteEmptyFolder(const std::string& folder);
  // Forgets what the last run wrote, keeping the substitutes.
  void ResetWrites();

  const std::string& last_path() const { return last_path_; }

 private:
  static std::string Key(const std::string& path);

  std::map<std::string, std::string> substitutes_;
  std::set<std::string> empty_folders_;
  std::map<std::string, std::string> written_;
  std::set<std::string> deleted_;
  std::string last_path_;
};

}  // namespace dayledger
