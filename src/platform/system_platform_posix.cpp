#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "platform/system_platform.h"

namespace dayledger {
namespace fs = std::filesystem;
namespace {

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

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

// A rename becomes durable only once its folder is synced.
void SyncFolder(const fs::path& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.get() >= 0) ::fsync(fd.get());
}

WriteResult WriteNative(const fs::path& target, const std::string& bytes) {
  if (fs::is_directory(target)) return WriteResult::kCannotCreate;
  const fs::path temp = target.string() + ".dlu-tmp";
  FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  if (fd.get() < 0) return WriteResult::kCannotCreate;
  if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.Close()) {
    ::unlink(temp.c_str());
    return WriteResult::kWriteFailed;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return WriteResult::kCannotCreate;
  }
  SyncFolder(target.parent_path().empty() ? fs::path(".") : target.parent_path());
  return WriteResult::kOk;
}

bool ReadNative(const fs::path& path, std::string* bytes) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  bytes->clear();
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes->append(buffer, static_cast<size_t>(n));
  }
}

// Copies `from` into the existing folder `to`, recursively.
bool CopyFolderInto(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
    const fs::path target = to / entry.path().filename();
    if (entry.is_directory(ec)) {
      fs::create_directory(target, ec);
      if (ec || !CopyFolderInto(entry.path(), target)) return false;
      continue;
    }
    std::string bytes;
    if (!ReadNative(entry.path(), &bytes)) return false;
    if (WriteNative(target, bytes) != WriteResult::kOk) return false;
  }
  return !ec;
}

}  // namespace

std::string SystemPlatform::Native(const std::string& tool_path) {
  return NativePathFromTool(Cp949ToUtf8Text(tool_path));
}

bool SystemPlatform::TestOpen(const std::string& path) {
  FileDescriptor fd(::open(Native(path).c_str(), O_RDONLY));
  return fd.get() >= 0;
}

bool SystemPlatform::ReadFile(const std::string& path, std::string* bytes) {
  return ReadNative(Native(path), bytes);
}

WriteResult SystemPlatform::WriteFile(const std::string& path, const std::string& bytes) {
  return WriteNative(Native(path), bytes);
}

bool SystemPlatform::CreateDirectory(const std::string& path) {
  return ::mkdir(Native(path).c_str(), 0755) == 0;
}

bool SystemPlatform::DeleteFile(const std::string& path) {
  return ::unlink(Native(path).c_str()) == 0;
}

int SystemPlatform::CopyTree(const std::string& from, const std::string& to) {
  fs::path source = Native(from);
  if (!source.has_filename()) source = source.parent_path();
  std::error_code ec;
  if (!fs::is_directory(source, ec) || !fs::is_directory(fs::path(Native(to)), ec)) return 1;
  const fs::path target = fs::path(Native(to)) / source.filename();
  fs::create_directory(target, ec);
  if (ec) return 1;
  if (!CopyFolderInto(source, target)) return 1;
  SyncFolder(target.parent_path());
  return 0;
}

std::optional<std::vector<std::string>> SystemPlatform::ListQbdFiles(const std::string& folder) {
  std::error_code ec;
  fs::directory_iterator it(fs::path(Native(folder)), ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.' || !entry.is_regular_file(ec)) continue;
    if (!HasQbdExtension(name)) continue;
    names.push_back(Utf8ToCp949Text(name));
  }
  SortIgnoringCase(&names);
  return names;
}

std::string SystemPlatform::ExecutablePath() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return Utf8ToCp949Text(ToolPathFromNative(self.string()));
}

LocalTime SystemPlatform::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace dayledger
