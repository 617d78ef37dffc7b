// The real file system, clock and text conversion, for POSIX systems
// (system_platform_posix.cpp) and Windows (system_platform_win32.cpp); what
// both share is in system_platform.cpp.
#pragma once

#include "platform/platform.h"

namespace dayledger {

class SystemPlatform : public Platform {
 public:
  bool TestOpen(const std::string& path) override;
  IoStatus ReadFile(const std::string& path, std::string* bytes) override;
  IoStatus WriteFile(const std::string& path, const std::string& bytes) override;
  IoStatus SyncFile(const std::string& path) override;
  IoStatus RenameFile(const std::string& from, const std::string& to) override;
  IoStatus DeleteFile(const std::string& path) override;
  // Calls DeleteFile from a few threads at once.
  std::vector<IoStatus> DeleteFiles(const std::vector<std::string>& paths) override;
  IoStatus RemoveFolder(const std::string& path) override;
  IoStatus SyncFolder(const std::string& path) override;
  IoStatus CopyPermissions(const std::string& from, const std::string& to) override;
  IoStatus CreateDirectory(const std::string& path) override;
  PathKind Inspect(const std::string& path) override;
  FolderListing ListFolder(const std::string& folder) override;
  Replaceable CanReplace(const std::string& path) override;
  bool CanWriteIn(const std::string& folder) override;
  std::optional<DiskSpace> SpaceOn(const std::string& folder) override;
  std::vector<std::string> ProgramsRunningIn(const std::string& folder) override;
  TakenLock LockFile(const std::string& path) override;
  void Pause(int milliseconds) override;
  std::string ExecutablePath() override;
  LocalTime Now() override;
  // Shown texts name the installation's folder as the system does.
  std::string Cp949ToUtf8(const std::string& cp949) override;
  std::string SystemVersion() override;
  bool OnNetworkDrive(const std::string& folder) override;
  std::optional<OtherAccount> RunningAsOtherAccount(const std::string& folder) override;
#ifdef _WIN32
  // Windows hides a virus scanner and controlled folder access behind its
  // plain codes; the file's place tells them apart.
  SystemReason Reason(int code, const std::string& path) override;
#endif

  // The native path (UTF-8) for one of the tool's paths.
  std::string Native(const std::string& tool_path);

  // The tool's AppDir, ending in a backslash, for the installation's folder
  // given in the tool's path form (backslashes) in UTF-8. Only what comes
  // from the data files is CP949: a folder whose name CP949 cannot hold
  // ("café") is given the stand-in kAppDirStandIn, which every file
  // operation maps back to the native folder and every shown text too.
  std::string UseAppDir(const std::string& folder_utf8);

  // The counterpart of the installation's folder `app_dir` in the user's
  // VirtualStore, when the folder lies where Windows virtualizes an old
  // program's writes (Program Files, ProgramData, the Windows folder) and
  // the store holds one; nullopt otherwise, and on other systems.
  std::optional<std::string> VirtualStoreFolder(const std::string& app_dir);

 protected:
  // The UTF-8 tool-form path for a tool path, the stand-in replaced.
  std::string Utf8Path(const std::string& tool_path);
#ifdef _WIN32
  std::wstring WidePath(const std::string& tool_path);
#endif

 private:
  std::string app_dir_utf8_;  // the folder behind the stand-in; empty when unused
};

inline constexpr char kAppDirStandIn[] = "\\:app";

}  // namespace dayledger
