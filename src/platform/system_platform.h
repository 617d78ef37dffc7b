// The real file system, clock and text conversion. The window toolkit's
// services (message box, message processing) come from the front end that
// derives from it: QtPlatform for the window, ConsolePlatform for the terminal.
#pragma once

#include "platform/platform.h"

namespace dayledger {

class SystemPlatform : public Platform {
 public:
  bool TestOpen(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  IoStatus WriteFile(const std::string& path, const std::string& bytes) override;
  IoStatus SyncFile(const std::string& path) override;
  IoStatus RenameFile(const std::string& from, const std::string& to) override;
  IoStatus DeleteFile(const std::string& path) override;
  IoStatus RemoveFolder(const std::string& path) override;
  IoStatus SyncFolder(const std::string& path) override;
  IoStatus CopyPermissions(const std::string& from, const std::string& to) override;
  bool CreateDirectory(const std::string& path) override;
  PathKind Inspect(const std::string& path) override;
  std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) override;
  std::optional<std::vector<std::string>> ListQbdFiles(const std::string& folder) override;
  LockResult LockFile(const std::string& path, std::unique_ptr<FileLock>* lock) override;
  std::string ExecutablePath() override;
  LocalTime Now() override;
  std::string Cp949ToUtf8(const std::string& cp949) override;
  std::string Utf8ToCp949(const std::string& utf8) override;

  // The native path (UTF-8) for one of the tool's paths.
  std::string Native(const std::string& tool_path);
};

// Helpers the system-specific parts share.
std::string LowerAscii(std::string text);
bool HasQbdExtension(const std::string& name);
void SortIgnoringCase(std::vector<std::string>* names);

}  // namespace dayledger
