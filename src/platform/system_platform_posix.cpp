// The real platform on POSIX systems: files, folders, locks, clock.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/native_path.h"
#include "platform/process_walk.h"
#include "platform/system_platform.h"
#include "platform/unique_handle.h"

namespace dayledger {
namespace fs = std::filesystem;
namespace {

struct DescriptorTraits {
  using Type = int;
  static int Invalid() { return -1; }
  static bool Close(int fd) { return ::close(fd) == 0; }
};
using FileDescriptor = UniqueHandle<DescriptorTraits>;

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Starts writing the file's bytes to the disk without waiting: what is
// written is flushed soon after, and the disk then works while the next
// files are copied instead of all at the flush. Only a hint; the flush
// still decides durability, so a refusal is no failure.
void StartWriteback(int fd) {
#ifdef __linux__
  ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
  (void)fd;
#endif
}

bool ReadNative(const std::string& path, std::string* bytes) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  bytes->clear();
  bytes->reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes->append(buffer, static_cast<size_t>(n));
  }
}

// Whether the last failure was a full disk or an exhausted quota.
bool Full() { return errno == ENOSPC || errno == EDQUOT; }
StatusKind WriteError() { return Full() ? StatusKind::kNoSpace : StatusKind::kWriteFailed; }

// fsync through a fresh descriptor: the flush covers the file, not the descriptor.
Status SyncNative(const std::string& native, int flags, const Path& path) {
  FileDescriptor fd(::open(native.c_str(), flags));
  if (!fd.valid()) {
    return Status::Failed(errno == ENOENT ? StatusKind::kNotFound : StatusKind::kFlushFailed, path,
                          errno);
  }
  if (::fsync(fd.get()) != 0 || !fd.Close()) {
    return Status::Failed(Full() ? StatusKind::kNoSpace : StatusKind::kFlushFailed, path, errno);
  }
  return Status::Ok();
}

Status RemovalStatus(int result, const Path& path) {
  if (result == 0) return Status::Ok();
  return Status::Failed(errno == ENOENT ? StatusKind::kNotFound : StatusKind::kDeleteFailed, path,
                        errno);
}

// Released, the lock file goes: it is unlinked while still held, then
// closed. Whoever locks it next checks that the file it locked is still the
// one at the path, so a file unlinked under a waiter is never held by two.
class DescriptorLock : public FileLock {
 public:
  DescriptorLock(FileDescriptor fd, std::string native) : fd_(std::move(fd)), native_(native) {}
  ~DescriptorLock() override { ::unlink(native_.c_str()); }

 private:
  FileDescriptor fd_;  // closing it, after the unlink, releases the lock
  std::string native_;
};

// Whether the open file is the one at the path now (not unlinked or replaced).
bool StillAtPath(int fd, const std::string& native) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(native.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

std::string SystemErrorText(int code) { return code == 0 ? "" : std::strerror(code); }

std::string SystemPlatform::SystemVersion() {
  struct utsname name {};
  if (::uname(&name) != 0) return "";
  return std::string(name.sysname) + " " + name.release + " " + name.machine;
}

bool IsNetworkFileSystem(unsigned long type) {
  // NFS, SMB and CIFS (old and new): the file systems of a shared folder.
  constexpr unsigned long kNetworkFileSystems[] = {0x6969, 0x517B, 0xFF534D42, 0xFE534D42};
  return std::find(std::begin(kNetworkFileSystems), std::end(kNetworkFileSystems), type) !=
         std::end(kNetworkFileSystems);
}

bool SystemPlatform::OnNetworkDrive(const Path& folder) {
  struct statfs disk {};
  if (::statfs(Native(folder).c_str(), &disk) != 0) return false;
  return IsNetworkFileSystem(static_cast<unsigned long>(disk.f_type));
}

// root on another account's installation would leave root's files there,
// which that account could not change: refused, naming the owner.
std::optional<OtherAccount> SystemPlatform::RunningAsOtherAccount(const Path& folder) {
  struct stat info {};
  if (::geteuid() != 0 || ::stat(Native(folder).c_str(), &info) != 0 || info.st_uid == 0) {
    return std::nullopt;
  }
  const passwd* owner = ::getpwuid(info.st_uid);
  return OtherAccount{false, "root", owner ? owner->pw_name : std::to_string(info.st_uid)};
}

std::string SystemPlatform::Native(const Path& path) { return NativePathFromTool(path); }

Status SystemPlatform::TestOpen(const Path& path) {
  if (FileDescriptor(::open(Native(path).c_str(), O_RDONLY)).valid()) return Status::Ok();
  return Status::Failed(errno == ENOENT ? StatusKind::kNotFound : StatusKind::kReadFailed, path,
                        errno);
}

Status SystemPlatform::ReadFile(const Path& path, std::string* bytes) {
  errno = 0;  // a folder or a failed read leaves no ENOENT of its own
  if (ReadNative(Native(path), bytes)) return Status::Ok();
  return Status::Failed(errno == ENOENT ? StatusKind::kNotFound : StatusKind::kReadFailed, path,
                        errno);
}

Status SystemPlatform::WriteFile(const Path& path, const std::string& bytes) {
  const std::string native = Native(path);
  FileDescriptor fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  if (!fd.valid()) return Status::Failed(StatusKind::kCannotCreate, path, errno);
  if (!WriteAll(fd.get(), bytes)) return Status::Failed(WriteError(), path, errno);
  StartWriteback(fd.get());
  if (!fd.Close()) return Status::Failed(WriteError(), path, errno);
  return Status::Ok();
}

Status SystemPlatform::SyncFile(const Path& path) {
  return SyncNative(Native(path), O_RDONLY, path);
}

Status SystemPlatform::SyncFolder(const Path& path) {
  return SyncNative(Native(path), O_RDONLY | O_DIRECTORY, path);
}

Status SystemPlatform::RenameFile(const Path& from, const Path& to) {
  if (::rename(Native(from).c_str(), Native(to).c_str()) == 0) return Status::Ok();
  return Status::Failed(errno == ENOENT ? StatusKind::kNotFound : StatusKind::kRenameFailed, to,
                        errno);
}

Status SystemPlatform::DeleteFile(const Path& path) {
  return RemovalStatus(::unlink(Native(path).c_str()), path);
}

Status SystemPlatform::RemoveFolder(const Path& path) {
  return RemovalStatus(::rmdir(Native(path).c_str()), path);
}

Status SystemPlatform::CopyPermissions(const Path& from, const Path& to) {
  struct stat info {};
  if (::stat(Native(from).c_str(), &info) != 0)
    return Status::Failed(StatusKind::kNotFound, from, errno);
  if (::chmod(Native(to).c_str(), info.st_mode & 07777) != 0) {
    return Status::Failed(StatusKind::kCannotCreate, to, errno);
  }
  return Status::Ok();
}

Status SystemPlatform::CreateDirectory(const Path& path) {
  if (::mkdir(Native(path).c_str(), 0755) == 0) return Status::Ok();
  return Status::Failed(StatusKind::kCannotCreate, path, errno);
}

Result<PathKind> SystemPlatform::Inspect(const Path& path) {
  struct stat info {};
  if (::lstat(Native(path).c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return PathKind::kMissing;
    return Status::Failed(StatusKind::kReadFailed, path, errno);
  }
  if (S_ISLNK(info.st_mode)) return PathKind::kLink;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

Result<std::vector<FolderEntry>> SystemPlatform::ListFolder(const Path& folder) {
  const std::string native = Native(folder);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native.c_str()), ::closedir);
  if (!dir) {
    return Status::Failed(errno == ENOENT ? StatusKind::kNotFound : StatusKind::kFolderUnreadable,
                          folder, errno);
  }
  std::vector<FolderEntry> entries;
  // readdir answers null both at the end and on an error, which only errno
  // tells apart: a listing cut short is no listing.
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // The type the listing gives; a stat only where it gives none, and for
    // a link, which counts as a file when it leads to one.
    const std::string path = native + "/" + name;
    struct stat info {};
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN && ::lstat(path.c_str(), &info) == 0) {
      type = S_ISDIR(info.st_mode)   ? DT_DIR
             : S_ISREG(info.st_mode) ? DT_REG
             : S_ISLNK(info.st_mode) ? DT_LNK
                                     : DT_UNKNOWN;
    }
    const bool is_folder = type == DT_DIR;
    const bool regular = type == DT_REG || (type == DT_LNK && ::stat(path.c_str(), &info) == 0 &&
                                            S_ISREG(info.st_mode));
    const bool ordinary = name[0] != '.' && (is_folder || regular);
    // Only a file's length needs a stat of its own.
    std::uint64_t size = 0;
    if (regular && ::stat(path.c_str(), &info) == 0)
      size = static_cast<std::uint64_t>(info.st_size);
    entries.push_back({name, is_folder, !ordinary, size});
  }
  if (errno != 0) return Status::Failed(StatusKind::kFolderUnreadable, folder, errno);
  return entries;
}

// POSIX lets a file be renamed over or unlinked whoever holds it open and
// whatever its own permissions. A file nobody may write is what Windows
// programs under Wine see as read-only, so it is named so here too.
Status SystemPlatform::CanReplace(const Path& path) {
  struct stat info {};
  if (::lstat(Native(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return Status::Ok();
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0) return Status::Ok();
  return Status::Failed(StatusKind::kReadOnly, path);
}

Result<DiskSpace> SystemPlatform::SpaceOn(const Path& folder) {
  const std::string native = Native(folder);
  struct statvfs disk {};
  struct stat info {};
  if (::statvfs(native.c_str(), &disk) != 0 || ::stat(native.c_str(), &info) != 0) {
    return Status::Failed(StatusKind::kReadFailed, folder, errno);
  }
  return DiskSpace{std::to_string(info.st_dev),
                   static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize,
                   static_cast<std::uint64_t>(disk.f_bsize)};
}

// A program lies in the folder when the folder itself, however it was
// reached (a link, a bind mount), is one of the program's folders: the
// device and inode decide, not the text of the paths.
std::vector<std::string> SystemPlatform::ProgramsRunningIn(const Path& folder) {
  const auto identity = [](const std::string& path) -> std::optional<FolderOnDevice> {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FolderOnDevice{static_cast<unsigned long long>(info.st_dev),
                          static_cast<unsigned long long>(info.st_ino)};
  };
  const auto root = identity(Native(folder));
  if (!root) return {};
  const std::string self = std::to_string(::getpid());
  ProcessImages images;
  std::error_code ec;
  for (const fs::directory_entry& process : fs::directory_iterator("/proc", ec)) {
    const std::string pid = process.path().filename().string();
    if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    // A process of another user, or one that has just ended, cannot be read.
    std::error_code unreadable;
    const fs::path program = fs::read_symlink(process.path() / "exe", unreadable);
    images.push_back(unreadable ? std::nullopt : std::optional<std::string>(program.string()));
  }
  return ProgramsWithin(
      images, [&](const std::string& image) { return LiesWithin(image, *root, identity); });
}

Status SystemPlatform::CanWriteIn(const Path& folder) {
  if (::access(Native(folder).c_str(), W_OK | X_OK) == 0) return Status::Ok();
  return Status::Failed(StatusKind::kDenied, folder, errno);
}

// Only Windows keeps a VirtualStore.
std::optional<Path> SystemPlatform::VirtualStoreFolder(const Path& /*app_dir*/) {
  return std::nullopt;
}

Result<Lock> SystemPlatform::LockFile(const Path& path) {
  const std::string native = Native(path);
  // A file its holder unlinked between our open and our lock is tried anew;
  // each round means another holder came and went, so a few suffice.
  for (int round = 0; round < 100; ++round) {
    FileDescriptor fd(::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.valid()) return Status::Failed(StatusKind::kCannotCreate, path, errno);
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      return Status::Failed(errno == EWOULDBLOCK ? StatusKind::kBusy : StatusKind::kCannotCreate,
                            path, errno);
    }
    if (StillAtPath(fd.get(), native)) {
      return Lock(std::make_unique<DescriptorLock>(std::move(fd), native));
    }
  }
  return Status::Failed(StatusKind::kBusy, path);
}

Path SystemPlatform::ExecutablePath() {
  std::error_code ec;
  return ToolPathFromNative(fs::read_symlink("/proc/self/exe", ec).string());
}

LocalTime SystemPlatform::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace dayledger
