// The real file system, clock and text conversion, for POSIX systems
// (system_platform_posix.cpp) and Windows (system_platform_win32.cpp); what
// both share is in system_platform.cpp.
#pragma once

#include "platform/platform.h"

namespace dayledger {

class SystemPlatform : public Platform {
 public:
  Status TestOpen(const Path& path) override;
  Status ReadFile(const Path& path, std::string* bytes) override;
  Status WriteFile(const Path& path, const std::string& bytes) override;
  Status SyncFile(const Path& path) override;
  Status RenameFile(const Path& from, const Path& to) override;
  Status DeleteFile(const Path& path) override;
  // Calls DeleteFile from a few threads at once.
  std::vector<Status> DeleteFiles(const std::vector<Path>& paths) override;
  Status RemoveFolder(const Path& path) override;
  Status SyncFolder(const Path& path) override;
  Status CopyPermissions(const Path& from, const Path& to) override;
  Status CreateDirectory(const Path& path) override;
  Result<PathKind> Inspect(const Path& path) override;
  Result<std::vector<FolderEntry>> ListFolder(const Path& folder) override;
  Status CanReplace(const Path& path) override;
  Status CanWriteIn(const Path& folder) override;
  Result<DiskSpace> SpaceOn(const Path& folder) override;
  std::vector<std::string> ProgramsRunningIn(const Path& folder) override;
  Result<Lock> LockFile(const Path& path) override;
  void Pause(int milliseconds) override;
  Path ExecutablePath() override;
  LocalTime Now() override;
  std::string SystemVersion() override;
  bool OnNetworkDrive(const Path& folder) override;
  std::optional<OtherAccount> RunningAsOtherAccount(const Path& folder) override;
#ifdef _WIN32
  // Windows hides a virus scanner and controlled folder access behind its
  // plain codes; the file's place tells them apart.
  SystemReason Reason(int code, const Path& path) override;
#endif

  // The native path (UTF-8) for one of the tool's paths.
  std::string Native(const Path& path);

  // The counterpart of the installation's folder `app_dir` in the user's
  // VirtualStore, when the folder lies where Windows virtualizes an old
  // program's writes (Program Files, ProgramData, the Windows folder) and
  // the store holds one; nullopt otherwise, and on other systems.
  std::optional<Path> VirtualStoreFolder(const Path& app_dir);

 protected:
#ifdef _WIN32
  std::wstring WidePath(const Path& path);
#endif
};

#ifndef _WIN32
// Whether a file system's type number (statfs' f_type) is one of a shared
// folder's: NFS, SMB or CIFS.
bool IsNetworkFileSystem(unsigned long type);
#endif

}  // namespace dayledger
