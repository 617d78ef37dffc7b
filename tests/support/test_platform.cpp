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

IoStatus TestPlatform::WriteFile(const Path& path, const std::string& bytes) {
  const std::string native = Native(path);
  if ((!fail_write_path.empty() && native == fail_write_path) ||
      (!fail_writes_in_folder.empty() && native.rfind(fail_writes_in_folder + "/", 0) == 0)) {
    return IoStatus::Failed(fail_write_error, path,
                            fail_write_error == IoError::kNoSpace ? ENOSPC : EIO);
  }
  const IoStatus result = SystemPlatform::WriteFile(path, bytes);
  if (result.ok()) written.push_back(Native(path));
  return result;
}

IoStatus TestPlatform::ReadFile(const Path& path, std::string* bytes) {
  if (!fail_read_path.empty() && Native(path) == fail_read_path) {
    return IoStatus::Failed(IoError::kReadFailed, path, EIO);
  }
  return SystemPlatform::ReadFile(path, bytes);
}

IoStatus TestPlatform::SyncFile(const Path& path) {
  if (denied_syncs > 0 && (denied_sync_path.empty() || Native(path) == denied_sync_path)) {
    --denied_syncs;
    return IoStatus::Failed(IoError::kFlushFailed, path, EBUSY);
  }
  return SystemPlatform::SyncFile(path);
}

IoStatus TestPlatform::RenameFile(const Path& from, const Path& to) {
  const IoStatus result = SystemPlatform::RenameFile(from, to);
  if (result.ok()) written.push_back(Native(to));
  return result;
}

FolderListing TestPlatform::ListFolder(const Path& folder) {
  if (fail_folder_listing) return {IoStatus::Failed(IoError::kReadFailed, folder, EIO), {}};
  return SystemPlatform::ListFolder(folder);
}

bool TestPlatform::CanWriteIn(const Path& folder) {
  return Native(folder) != unwritable_folder && SystemPlatform::CanWriteIn(folder);
}

IoStatus TestPlatform::DeleteFile(const Path& path) {
  if (Native(path) == undeletable_file)
    return IoStatus::Failed(IoError::kDeleteFailed, path, EACCES);
  return SystemPlatform::DeleteFile(path);
}

Replaceable TestPlatform::CanReplace(const Path& path) {
  if (Native(path) == undeletable_file) return Replaceable::kDenied;
  return SystemPlatform::CanReplace(path);
}

std::optional<DiskSpace> TestPlatform::SpaceOn(const Path& folder) {
  std::optional<DiskSpace> disk = SystemPlatform::SpaceOn(folder);
  if (disk && free_bytes) disk->available = *free_bytes;
  return disk;
}

}  // namespace dayledger::testing
