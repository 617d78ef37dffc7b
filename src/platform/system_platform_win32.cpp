// The real file system, clock and program path on Windows. The tool's paths
// are already Windows paths; only their UTF-8 becomes wide characters.
#include <algorithm>
#include <optional>
#include <vector>

// clang-format off
#include "platform/windows_api.h"
#include <tlhelp32.h>
// clang-format on

#include "platform/long_path.h"
#include "platform/process_walk.h"
#include "platform/system_platform.h"
#include "platform/system_reason.h"
#include "platform/unique_handle.h"
#include "platform/windows_text.h"

namespace dayledger {
namespace {

struct FileHandleTraits {
  using Type = HANDLE;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return ::CloseHandle(handle) != 0; }
};
using Handle = UniqueHandle<FileHandleTraits>;

// A directory search is closed with FindClose, not CloseHandle.
struct SearchHandleTraits {
  using Type = HANDLE;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return ::FindClose(handle) != 0; }
};
using Search = UniqueHandle<SearchHandleTraits>;

HANDLE OpenForReading(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadWide(const std::wstring& path, std::string* bytes) {
  Handle file(OpenForReading(path));
  if (!file.valid()) return false;
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

// The system's code of the last failure, as Status keeps it.
int LastError() { return static_cast<int>(::GetLastError()); }

bool Full() {
  const DWORD error = ::GetLastError();
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

bool NotFound() {
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// Visits every entry of the folder but "." and "..".
template <typename Visit>
DWORD ForEachEntry(const std::wstring& folder, Visit&& visit) {
  WIN32_FIND_DATAW found;
  Search search(::FindFirstFileW((WithoutTrailingSeparators(folder) + L"\\*").c_str(), &found));
  if (!search.valid()) return ::GetLastError();
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") visit(found);
  } while (::FindNextFileW(search.get(), &found));
  const DWORD error = ::GetLastError();
  return error == ERROR_NO_MORE_FILES ? ERROR_SUCCESS : error;
}

// Flushes through a handle opened for writing; folders need backup semantics.
Status Flush(const std::wstring& path, DWORD flags, const Path& tool_path) {
  Handle handle(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, flags, nullptr));
  if (!handle.valid()) {
    return Status::Failed(NotFound() ? StatusKind::kNotFound : StatusKind::kFlushFailed, tool_path,
                          LastError());
  }
  if (!::FlushFileBuffers(handle.get())) {
    return Status::Failed(Full() ? StatusKind::kNoSpace : StatusKind::kFlushFailed, tool_path,
                          LastError());
  }
  return Status::Ok();
}

// A known folder's path, or "" where the system has none (ProgramFilesX64
// for a 32-bit program).
std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) folder = path;
  ::CoTaskMemFree(path);
  return WithoutTrailingSeparators(folder);
}

// Whether `path` is `folder` or lies below it, without regard to case.
bool IsWithin(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (path.size() > folder.size() && path[folder.size()] != L'\\') return false;
  return ::CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// The folders whose writes Windows virtualizes for an old program.
std::vector<std::wstring> VirtualizedFolders() {
  std::vector<std::wstring> folders;
  for (REFKNOWNFOLDERID id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86,
                              FOLDERID_ProgramFilesX64, FOLDERID_ProgramData, FOLDERID_Windows}) {
    folders.push_back(KnownFolder(id));
  }
  // A 32-bit program learns the 64-bit Program Files only from its environment.
  wchar_t wide[MAX_PATH];
  const DWORD size = ::GetEnvironmentVariableW(L"ProgramW6432", wide, MAX_PATH);
  if (size > 0 && size < MAX_PATH) folders.push_back(WithoutTrailingSeparators(wide));
  return folders;
}

// What makes a folder the same folder however its path is spelt (a mapped
// drive letter, a UNC path, an 8.3 short name, a junction): its volume and
// file index, and its final path as the system resolves it.
struct FolderIdentity {
  DWORD volume = 0;
  DWORD index_high = 0;
  DWORD index_low = 0;
  std::wstring final_path;

  bool SameAs(const FolderIdentity& other) const {
    const bool same_index =
        volume == other.volume && index_high == other.index_high && index_low == other.index_low;
    const bool same_path =
        !final_path.empty() && final_path.size() == other.final_path.size() &&
        ::CompareStringOrdinal(final_path.data(), static_cast<int>(final_path.size()),
                               other.final_path.data(), static_cast<int>(other.final_path.size()),
                               TRUE) == CSTR_EQUAL;
    return same_index || same_path;
  }
};

std::optional<FolderIdentity> IdentityOf(const std::wstring& folder) {
  Handle handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  FolderIdentity identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow, {}};
  std::wstring path(32768, L'\0');
  const DWORD size =
      ::GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()), 0);
  if (size > 0 && size < path.size()) identity.final_path = path.substr(0, size);
  return identity;
}

// The account a process runs as ("DOMAIN\\name"), or "" when it cannot be asked.
std::wstring AccountOf(HANDLE process, std::vector<BYTE>* sid) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return L"";
  Handle owned(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return L"";
  const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  sid->assign(static_cast<BYTE*>(user), static_cast<BYTE*>(user) + ::GetLengthSid(user));
  wchar_t name[256];
  wchar_t domain[256];
  DWORD name_size = 256;
  DWORD domain_size = 256;
  SID_NAME_USE use;
  if (!::LookupAccountSidW(nullptr, user, name, &name_size, domain, &domain_size, &use)) {
    return L"?";
  }
  return std::wstring(domain) + L"\\" + name;
}

class HandleLock : public FileLock {
 public:
  explicit HandleLock(Handle handle) : handle_(std::move(handle)) {}

 private:
  Handle handle_;  // closing it releases the lock
};

// The folders that controlled folder access protects.
std::vector<std::wstring> ProtectedFolders() {
  std::vector<std::wstring> folders;
  for (REFKNOWNFOLDERID id : {FOLDERID_Documents, FOLDERID_Desktop, FOLDERID_Pictures,
                              FOLDERID_Videos, FOLDERID_Music, FOLDERID_Favorites}) {
    folders.push_back(KnownFolder(id));
  }
  return folders;
}

std::wstring ParentOf(const std::wstring& path) {
  const size_t cut = WithoutTrailingSeparators(path).find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

}  // namespace

std::string SystemErrorText(int code) {
  if (code == 0) return "";
  wchar_t* buffer = nullptr;
  // Language 0: the user's own language where the system has its words.
  const DWORD size = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::wstring text = size > 0 && buffer != nullptr ? std::wstring(buffer, size) : L"";
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  return Narrow(text, CP_UTF8);
}

std::string SystemPlatform::SystemVersion() {
  // GetVersionExW answers what the manifest claims; ntdll tells the truth.
  using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const auto get = ntdll ? reinterpret_cast<RtlGetVersion>(
                               reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                         : nullptr;
  if (get == nullptr || get(&info) != 0) return "Windows";
  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  return "Windows " + std::to_string(info.dwMajorVersion) + "." +
         std::to_string(info.dwMinorVersion) + "." + std::to_string(info.dwBuildNumber) +
         (wow64 ? " (64-bit)" : " (32-bit)");
}

SystemReason SystemPlatform::Reason(int code, const Path& path) {
  const std::wstring wide = WithoutTrailingSeparators(WidePath(path));
  const std::wstring parent = ParentOf(wide);
  bool protected_folder = false;
  for (const std::wstring& folder : ProtectedFolders()) protected_folder |= IsWithin(wide, folder);
  SystemReason reason{code, SystemErrorText(code),
                      WindowsBlocker(code, !parent.empty() && IsFolder(parent), protected_folder),
                      ""};
  if (reason.blocker == Blocker::kProtectedFolder) {
    // The program to allow is this one, as Windows names it.
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    reason.program = Narrow(self, CP_UTF8);
  }
  return reason;
}

std::string SystemPlatform::Native(const Path& path) { return path.text(); }

std::wstring SystemPlatform::WidePath(const Path& path) {
  // A deep installation's paths pass MAX_PATH; the long form has no limit.
  return Widen(ForWideApi(path.text()), CP_UTF8);
}

Status SystemPlatform::TestOpen(const Path& path) {
  if (Handle(OpenForReading(WidePath(path))).valid()) return Status::Ok();
  return Status::Failed(NotFound() ? StatusKind::kNotFound : StatusKind::kReadFailed, path,
                        LastError());
}

Status SystemPlatform::ReadFile(const Path& path, std::string* bytes) {
  if (ReadWide(WidePath(path), bytes)) return Status::Ok();
  return Status::Failed(NotFound() ? StatusKind::kNotFound : StatusKind::kReadFailed, path,
                        LastError());
}

Status SystemPlatform::WriteFile(const Path& path, const std::string& bytes) {
  const std::wstring target = WidePath(path);
  if (IsFolder(target)) return Status::Failed(StatusKind::kCannotCreate, path, ERROR_ACCESS_DENIED);
  Handle file(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Status::Failed(StatusKind::kCannotCreate, path, LastError());
  size_t done = 0;
  bool written = true;
  while (written && done < bytes.size()) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    written = ::WriteFile(file.get(), bytes.data() + done, chunk, &put, nullptr) && put > 0;
    done += put;
  }
  if (!written || !file.Close()) {
    return Status::Failed(Full() ? StatusKind::kNoSpace : StatusKind::kWriteFailed, path,
                          LastError());
  }
  return Status::Ok();
}

Status SystemPlatform::SyncFile(const Path& path) {
  return Flush(WidePath(path), FILE_ATTRIBUTE_NORMAL, path);
}

Status SystemPlatform::SyncFolder(const Path& path) {
  // Folders cannot always be opened for flushing (FAT, some network drives);
  // MoveFileExW with write-through has already made the renames durable there.
  const Status status = Flush(WidePath(path), FILE_FLAG_BACKUP_SEMANTICS, path);
  if (status.kind == StatusKind::kFlushFailed && IsFolder(WidePath(path))) return Status::Ok();
  return status;
}

Status SystemPlatform::RenameFile(const Path& from, const Path& to) {
  // The rename reaches the disk before the call returns.
  if (::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Status::Ok();
  }
  return Status::Failed(NotFound() ? StatusKind::kNotFound : StatusKind::kRenameFailed, to,
                        LastError());
}

Status SystemPlatform::DeleteFile(const Path& path) {
  if (::DeleteFileW(WidePath(path).c_str())) return Status::Ok();
  return Status::Failed(NotFound() ? StatusKind::kNotFound : StatusKind::kDeleteFailed, path,
                        LastError());
}

Status SystemPlatform::RemoveFolder(const Path& path) {
  if (::RemoveDirectoryW(WidePath(path).c_str())) return Status::Ok();
  return Status::Failed(NotFound() ? StatusKind::kNotFound : StatusKind::kDeleteFailed, path,
                        LastError());
}

Status SystemPlatform::CopyPermissions(const Path& from, const Path& to) {
  const DWORD attributes = ::GetFileAttributesW(WidePath(from).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return Status::Failed(StatusKind::kNotFound, from, LastError());
  constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (!::SetFileAttributesW(WidePath(to).c_str(), (attributes & kKept) | FILE_ATTRIBUTE_NORMAL)) {
    return Status::Failed(StatusKind::kCannotCreate, to, LastError());
  }
  return Status::Ok();
}

Status SystemPlatform::CreateDirectory(const Path& path) {
  if (::CreateDirectoryW(WidePath(path).c_str(), nullptr)) return Status::Ok();
  return Status::Failed(StatusKind::kCannotCreate, path, LastError());
}

Result<PathKind> SystemPlatform::Inspect(const Path& path) {
  const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (NotFound()) return PathKind::kMissing;
    return Status::Failed(StatusKind::kReadFailed, path, LastError());
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return PathKind::kLink;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kFolder : PathKind::kFile;
}

Result<std::vector<FolderEntry>> SystemPlatform::ListFolder(const Path& folder) {
  std::vector<FolderEntry> entries;
  const DWORD error = ForEachEntry(WidePath(folder), [&](const WIN32_FIND_DATAW& found) {
    const DWORD attributes = found.dwFileAttributes;
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // A linked folder is neither an ordinary file nor a folder to descend into.
    const bool hidden =
        (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 || (directory && link);
    const std::uint64_t size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    entries.push_back({Narrow(found.cFileName, CP_UTF8), directory && !link, hidden, size});
  });
  if (error != ERROR_SUCCESS) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return Status::Failed(missing ? StatusKind::kNotFound : StatusKind::kFolderUnreadable, folder,
                          static_cast<int>(error));
  }
  return entries;
}

Status SystemPlatform::CanReplace(const Path& path) {
  const std::wstring wide = WidePath(path);
  // Windows refuses to delete a read-only file or to rename over one, though
  // it opens it for deletion.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return Status::Failed(StatusKind::kReadOnly, path);
  }
  // Opening for deletion fails with a sharing violation exactly when a
  // rename over the file or its deletion would for another program's sake,
  // and is denied when the file's permissions forbid its deletion.
  Handle file(::CreateFileW(wide.c_str(), DELETE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (file.valid()) return Status::Ok();
  const int error = LastError();
  switch (error) {
    case ERROR_SHARING_VIOLATION:
      return Status::Failed(StatusKind::kHeld, path, error);
    case ERROR_ACCESS_DENIED:
      return Status::Failed(StatusKind::kDenied, path, error);
    default:
      return Status::Ok();
  }
}

Result<DiskSpace> SystemPlatform::SpaceOn(const Path& folder) {
  const std::wstring wide = WithoutTrailingSeparators(WidePath(folder)) + L"\\";
  wchar_t root[MAX_PATH + 1];
  ULARGE_INTEGER available{};
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, clusters = 0;
  if (!::GetVolumePathNameW(wide.c_str(), root, MAX_PATH + 1) ||
      !::GetDiskFreeSpaceExW(wide.c_str(), &available, nullptr, nullptr)) {
    return Status::Failed(StatusKind::kReadFailed, folder, LastError());
  }
  std::uint64_t cluster = 4096;
  if (::GetDiskFreeSpaceW(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters,
                          &clusters)) {
    cluster = std::uint64_t{sectors_per_cluster} * bytes_per_sector;
  }
  return DiskSpace{Narrow(root, CP_UTF8), available.QuadPart, cluster};
}

std::vector<std::string> SystemPlatform::ProgramsRunningIn(const Path& folder) {
  const std::wstring root = WithoutTrailingSeparators(WidePath(folder));
  const std::optional<FolderIdentity> root_identity = IdentityOf(root);
  // Whether the image lies in the folder: one of its folders is the
  // folder itself, or, where identities cannot be had, its path's text
  // says so.
  const auto within = [&](const std::wstring& image) {
    if (IsWithin(image, root) && image.size() > root.size()) return true;
    if (!root_identity) return false;
    for (std::wstring at = ParentOf(image); !at.empty(); at = ParentOf(at)) {
      // A drive's root needs its backslash to be opened.
      const std::wstring opened = at.size() == 2 && at[1] == L':' ? at + L"\\" : at;
      if (const auto identity = IdentityOf(opened); identity && identity->SameAs(*root_identity)) {
        return true;
      }
    }
    return false;
  };
  ProcessImages images;
  Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return {};
  PROCESSENTRY32W process{};
  process.dwSize = sizeof process;
  for (bool more = ::Process32FirstW(snapshot.get(), &process); more;
       more = ::Process32NextW(snapshot.get(), &process)) {
    if (process.th32ProcessID == ::GetCurrentProcessId()) continue;
    // A process this user may not ask about is listed without its image.
    std::optional<std::string> image;
    const HANDLE opened =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.th32ProcessID);
    if (opened != nullptr) {
      Handle owned(opened);
      std::wstring path(32768, L'\0');
      DWORD size = static_cast<DWORD>(path.size());
      if (::QueryFullProcessImageNameW(owned.get(), 0, path.data(), &size)) {
        path.resize(size);
        image = Narrow(path, CP_UTF8);
      }
    }
    images.push_back(std::move(image));
  }
  return ProgramsWithin(images,
                        [&](const std::string& image) { return within(Widen(image, CP_UTF8)); });
}

bool SystemPlatform::OnNetworkDrive(const Path& folder) {
  const std::wstring wide = WithoutTrailingSeparators(WidePath(folder)) + L"\\";
  if (wide.starts_with(L"\\\\") && !wide.starts_with(L"\\\\?\\")) return true;
  if (wide.starts_with(L"\\\\?\\UNC\\")) return true;
  wchar_t root[MAX_PATH + 1];
  if (!::GetVolumePathNameW(wide.c_str(), root, MAX_PATH + 1)) return false;
  return ::GetDriveTypeW(root) == DRIVE_REMOTE;
}

// The desktop's user owns the shell's process; a tool started with "Run as
// administrator" by a standard user runs as the administrator's account.
std::optional<OtherAccount> SystemPlatform::RunningAsOtherAccount(const Path& /*folder*/) {
  const HWND shell = ::GetShellWindow();
  DWORD shell_id = 0;
  if (shell == nullptr || ::GetWindowThreadProcessId(shell, &shell_id) == 0) return std::nullopt;
  const HANDLE opened = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shell_id);
  if (opened == nullptr) return std::nullopt;
  Handle shell_process(opened);
  std::vector<BYTE> desktop_sid;
  std::vector<BYTE> own_sid;
  const std::wstring desktop = AccountOf(shell_process.get(), &desktop_sid);
  const std::wstring own = AccountOf(::GetCurrentProcess(), &own_sid);
  if (desktop.empty() || own.empty() || desktop_sid == own_sid) return std::nullopt;
  return OtherAccount{true, Narrow(own, CP_UTF8), Narrow(desktop, CP_UTF8)};
}

Status SystemPlatform::CanWriteIn(const Path& folder) {
  // A probe that the system removes as its handle closes, even after a crash.
  const std::wstring probe = WithoutTrailingSeparators(WidePath(folder)) + L"\\.dlu-probe-" +
                             std::to_wstring(::GetCurrentProcessId());
  if (Handle(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr))
          .valid()) {
    return Status::Ok();
  }
  return Status::Failed(StatusKind::kDenied, folder, LastError());
}

std::optional<Path> SystemPlatform::VirtualStoreFolder(const Path& app_dir) {
  const std::wstring folder = WithoutTrailingSeparators(WidePath(app_dir));
  // The store keeps the path without its drive: "C:\Program Files\x" is
  // "%LOCALAPPDATA%\VirtualStore\Program Files\x".
  if (folder.size() < 3 || folder[1] != L':') return std::nullopt;
  for (const std::wstring& virtualized : VirtualizedFolders()) {
    if (!IsWithin(folder, virtualized)) continue;
    const std::wstring local = KnownFolder(FOLDERID_LocalAppData);
    if (local.empty()) return std::nullopt;
    const std::wstring store = local + L"\\VirtualStore" + folder.substr(2);
    if (!IsFolder(store)) return std::nullopt;
    return Path(Narrow(store, CP_UTF8));
  }
  return std::nullopt;
}

Result<Lock> SystemPlatform::LockFile(const Path& path) {
  // Hidden, so that no listing of data files ever shows it; deleted by the
  // system as the last handle to it closes, even after a crash. Once any
  // handle to it has closed, the file refuses new opens until the last one
  // does: while it is there, someone holds it.
  const std::wstring wide = WidePath(path);
  Handle file;
  for (int attempt = 0; attempt < 10 && !file.valid(); ++attempt) {
    if (attempt > 0) Pause(5);
    file = Handle(::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                nullptr));
    if (!file.valid() && ::GetLastError() != ERROR_ACCESS_DENIED) break;
  }
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    // A lock file its holder is deleting answers access denied, to this
    // open and to a look at it alike: busy, unless surely gone.
    const bool pending = error == ERROR_ACCESS_DENIED && !SurelyMissing(*this, path);
    return Status::Failed(pending ? StatusKind::kBusy : StatusKind::kCannotCreate, path,
                          static_cast<int>(error));
  }
  OVERLAPPED whole = {};
  if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &whole)) {
    const DWORD error = ::GetLastError();
    return Status::Failed(
        error == ERROR_LOCK_VIOLATION ? StatusKind::kBusy : StatusKind::kCannotCreate, path,
        static_cast<int>(error));
  }
  return Lock(std::make_unique<HandleLock>(std::move(file)));
}

Path SystemPlatform::ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (size < path.size()) {
      path.resize(size);
      return Path(Narrow(path, CP_UTF8));
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
