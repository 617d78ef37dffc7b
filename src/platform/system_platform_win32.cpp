// The real file system, clock and program path on Windows. The tool's paths
// are already Windows paths; only their CP949 bytes become wide characters.
#include "platform/windows_text.h"

#include <algorithm>

#include "platform/cp949_codec.h"
#include "platform/system_platform.h"

namespace dayledger {
namespace {

constexpr UINT kCp949 = 949;

std::wstring WidePath(const std::string& tool_path) { return Widen(tool_path, kCp949); }

// Closes the handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (ok()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

HANDLE OpenForReading(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadWide(const std::wstring& path, std::string* bytes) {
  Handle file(OpenForReading(path));
  if (!file.ok()) return false;
  bytes->clear();
  char buffer[65536];
  DWORD got = 0;
  for (;;) {
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes->append(buffer, got);
  }
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

WriteResult WriteWide(const std::wstring& target, const std::string& bytes) {
  if (IsFolder(target)) return WriteResult::kCannotCreate;
  const std::wstring temp = target + L".dlu-tmp";
  Handle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return WriteResult::kCannotCreate;
  size_t done = 0;
  bool written = true;
  while (written && done < bytes.size()) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    written = ::WriteFile(file.get(), bytes.data() + done, chunk, &put, nullptr) && put > 0;
    done += put;
  }
  if (!written || !::FlushFileBuffers(file.get()) || !file.Close()) {
    ::DeleteFileW(temp.c_str());
    return WriteResult::kWriteFailed;
  }
  // The rename reaches the disk before the call returns.
  if (!::MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return WriteResult::kCannotCreate;
  }
  return WriteResult::kOk;
}

// Copies the contents of folder `from` into the existing folder `to`.
bool CopyFolderInto(const std::wstring& from, const std::wstring& to) {
  WIN32_FIND_DATAW found;
  Handle search(::FindFirstFileW((from + L"\\*").c_str(), &found));
  if (!search.ok()) return false;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring source = from + L"\\" + name;
    const std::wstring target = to + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ::CreateDirectoryW(target.c_str(), nullptr);
      if (!IsFolder(target) || !CopyFolderInto(source, target)) return false;
      continue;
    }
    std::string bytes;
    if (!ReadWide(source, &bytes) || WriteWide(target, bytes) != WriteResult::kOk) return false;
  } while (::FindNextFileW(search.get(), &found));
  return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

std::string SystemPlatform::Native(const std::string& tool_path) {
  return Cp949ToUtf8Text(tool_path);
}

bool SystemPlatform::TestOpen(const std::string& path) {
  return Handle(OpenForReading(WidePath(path))).ok();
}

bool SystemPlatform::ReadFile(const std::string& path, std::string* bytes) {
  return ReadWide(WidePath(path), bytes);
}

WriteResult SystemPlatform::WriteFile(const std::string& path, const std::string& bytes) {
  return WriteWide(WidePath(path), bytes);
}

bool SystemPlatform::CreateDirectory(const std::string& path) {
  return ::CreateDirectoryW(WidePath(path).c_str(), nullptr) != 0;
}

bool SystemPlatform::DeleteFile(const std::string& path) {
  return ::DeleteFileW(WidePath(path).c_str()) != 0;
}

int SystemPlatform::CopyTree(const std::string& from, const std::string& to) {
  const std::wstring source = WithoutTrailingSeparators(WidePath(from));
  const std::wstring folder = WithoutTrailingSeparators(WidePath(to));
  if (!IsFolder(source) || !IsFolder(folder)) return 1;
  const std::wstring target = folder + L"\\" + source.substr(source.find_last_of(L"\\/") + 1);
  ::CreateDirectoryW(target.c_str(), nullptr);
  if (!IsFolder(target)) return 1;
  return CopyFolderInto(source, target) ? 0 : 1;
}

std::optional<std::vector<std::string>> SystemPlatform::ListQbdFiles(const std::string& folder) {
  if (!IsFolder(WidePath(folder))) return std::nullopt;
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  Handle search(::FindFirstFileW((WithoutTrailingSeparators(WidePath(folder)) + L"\\*").c_str(), &found));
  if (!search.ok()) return names;
  constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    const std::string name = Narrow(found.cFileName, kCp949);
    if ((found.dwFileAttributes & kNotOrdinary) == 0 && HasQbdExtension(name)) names.push_back(name);
  } while (::FindNextFileW(search.get(), &found));
  SortIgnoringCase(&names);
  return names;
}

std::string SystemPlatform::ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (size < path.size()) {
      path.resize(size);
      return Narrow(path, kCp949);
    }
    path.resize(path.size() * 2);
  }
}

LocalTime SystemPlatform::Now() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace dayledger
