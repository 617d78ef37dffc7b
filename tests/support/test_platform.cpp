// The test platform's folder and its planted faults.
#include "support/test_platform.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace dayledger::testing {

TestPlatform::TestPlatform() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dayledger-test-XXXXXX").string();
  temp_dir_ = ::mkdtemp(pattern.data());
}

TestPlatform::~TestPlatform() {
  std::error_code ec;
  std::filesystem::remove_all(temp_dir_, ec);
}

Status TestPlatform::WriteFile(const Path& path, const std::string& bytes) {
  const std::string native = Native(path);
  if ((!fail_write_path.empty() && native == fail_write_path) ||
      (!fail_writes_in_folder.empty() && native.rfind(fail_writes_in_folder + "/", 0) == 0)) {
    return Status::Failed(fail_write_error, path,
                          fail_write_error == StatusKind::kNoSpace ? ENOSPC : EIO);
  }
  const Status result = SystemPlatform::WriteFile(path, bytes);
  if (result.ok()) written.push_back(Native(path));
  return result;
}

Status TestPlatform::TestOpen(const Path& path) {
  if (!fail_read_path.empty() && Native(path) == fail_read_path) {
    return Status::Failed(StatusKind::kReadFailed, path, EIO);
  }
  return SystemPlatform::TestOpen(path);
}

Status TestPlatform::ReadFile(const Path& path, std::string* bytes) {
  if (!fail_read_path.empty() && Native(path) == fail_read_path) {
    return Status::Failed(StatusKind::kReadFailed, path, EIO);
  }
  return SystemPlatform::ReadFile(path, bytes);
}

Result<PathKind> TestPlatform::Inspect(const Path& path) {
  if (!unlookable_path.empty() && Native(path) == unlookable_path) {
    return Status::Failed(StatusKind::kReadFailed, path, EIO);
  }
  return SystemPlatform::Inspect(path);
}

Status TestPlatform::SyncFile(const Path& path) {
  if (denied_syncs > 0 && (denied_sync_path.empty() || Native(path) == denied_sync_path)) {
    --denied_syncs;
    return Status::Failed(StatusKind::kFlushFailed, path, EBUSY);
  }
  return SystemPlatform::SyncFile(path);
}

Status TestPlatform::RenameFile(const Path& from, const Path& to) {
  const Status result = SystemPlatform::RenameFile(from, to);
  if (result.ok()) written.push_back(Native(to));
  return result;
}

Result<std::vector<FolderEntry>> TestPlatform::ListFolder(const Path& folder) {
  if (fail_folder_listing) return Status::Failed(StatusKind::kFolderUnreadable, folder, EIO);
  return SystemPlatform::ListFolder(folder);
}

Status TestPlatform::CanWriteIn(const Path& folder) {
  if (Native(folder) == unwritable_folder)
    return Status::Failed(StatusKind::kDenied, folder, EACCES);
  return SystemPlatform::CanWriteIn(folder);
}

Status TestPlatform::DeleteFile(const Path& path) {
  if (Native(path) == undeletable_file)
    return Status::Failed(StatusKind::kDeleteFailed, path, EACCES);
  return SystemPlatform::DeleteFile(path);
}

Status TestPlatform::CanReplace(const Path& path) {
  if (Native(path) == undeletable_file) return Status::Failed(StatusKind::kDenied, path, EACCES);
  return SystemPlatform::CanReplace(path);
}

Result<DiskSpace> TestPlatform::SpaceOn(const Path& folder) {
  Result<DiskSpace> disk = SystemPlatform::SpaceOn(folder);
  if (disk.ok() && free_bytes) disk->available = *free_bytes;
  return disk;
}

}  // namespace dayledger::testing
