// The one door to the operating system: files, folders, locks, the clock,
// the executable's path and text conversion.
//
// Paths handed to the platform are the tool's own (path.h); each
// implementation maps them to the native file system.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/path.h"

namespace dayledger {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Why a file operation failed; callers decide by the kind, never by a text.
enum class IoError {
  kNone,
  kNotFound,      // nothing of that name
  kReadFailed,    // there, but it could not be opened, read or listed
  kCannotCreate,  // could not be created or opened for writing
  kWriteFailed,   // opened, but not every byte arrived
  kFlushFailed,   // the flush to the disk failed
  kRenameFailed,
  kDeleteFailed,  // still there: held open, read-only or not permitted
  kNoSpace,       // the disk (or the user's share of it) is full
};

// The result of a file-changing operation: the kind of failure, the path,
// and the system's own code for it (errno, or GetLastError on Windows), so
// that whoever helps can tell a full disk from a scanner from a bad sector.
struct IoStatus {
  IoError error = IoError::kNone;
  Path path;     // the file or folder that failed
  int code = 0;  // 0 when the system gave none

  bool ok() const { return error == IoError::kNone; }
  static IoStatus Ok() { return {}; }
  static IoStatus Failed(IoError error, const Path& path, int code = 0) {
    return {error, path, code};
  }
};

// What stood behind a system's refusal, where the words for it must say
// more than the system's own.
enum class Blocker {
  kNone,
  kVirusScanner,     // a scanner stopped or removed the file
  kProtectedFolder,  // Windows' controlled folder access refused a new file
};

// The system's own description of a failure's code (UTF-8, in the user's
// language where the system has it) and what stood behind it.
struct SystemReason {
  int code = 0;
  std::string text;
  Blocker blocker = Blocker::kNone;
  std::string program;  // the program to allow past a blocker (UTF-8), when known
};

// The system's own words for `code`: strerror, or FormatMessageW on Windows.
std::string SystemErrorText(int code);

enum class PathKind { kMissing, kFile, kFolder, kLink };

// An exclusive lock, held until the object goes or the process ends: the
// operating system releases it even after a crash, so no lock is left stale.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

enum class LockResult {
  kLocked,
  kBusy,         // another process holds it
  kUnavailable,  // the lock file cannot be opened (a read-only folder)
};

// A lock taken, or why not: `held` is set exactly when `result` is kLocked.
struct TakenLock {
  LockResult result = LockResult::kUnavailable;
  std::unique_ptr<FileLock> held;
  int code = 0;  // the system's, when the lock file could not be opened or locked
};

struct FolderEntry {
  std::string name;  // UTF-8
  bool folder = false;
  // Not an ordinary entry: a dot name, a hidden or system file on Windows,
  // or neither a file nor a folder.
  bool hidden = false;
  std::uint64_t size = 0;  // a file's length in bytes
};

// A folder's entries, or why it could not be listed.
struct FolderListing {
  IoStatus status;  // not ok: kNotFound, or kReadFailed with the system's code
  std::vector<FolderEntry> entries;

  bool ok() const { return status.ok(); }
};

// Whether a file could be renamed over or deleted now.
enum class Replaceable {
  kYes,       // also when it is missing
  kHeld,      // another program holds it open without sharing deletion
  kReadOnly,  // its read-only attribute (no write permission at all on POSIX)
  kDenied,    // its permissions refuse deletion
};

// Room on the drive that holds a folder.
struct DiskSpace {
  std::string volume;            // the same text for two folders on one drive
  std::uint64_t available = 0;   // bytes this user may still fill
  std::uint64_t cluster = 4096;  // every file takes a whole number of these
};

// An account other than the one whose data it is runs the tool.
struct OtherAccount {
  // Windows: the desktop's user started the tool with "Run as
  // administrator" as another account, which sees that account's
  // VirtualStore and application data. POSIX: root runs the tool on an
  // installation another account owns, and would leave root's files there.
  bool elevated = false;
  std::string running;  // the account the tool runs as
  std::string owner;    // the desktop's user, or the installation's owner
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens the file for reading and closes it again.
  virtual bool TestOpen(const Path& path) = 0;
  // Whole file as bytes; kNotFound when nothing is there, kReadFailed when
  // it cannot be opened or read.
  virtual IoStatus ReadFile(const Path& path, std::string* bytes) = 0;
  // Creates or truncates the file and writes the bytes. Not flushed: a
  // crash may lose them until SyncFile, and a new name until SyncFolder.
  virtual IoStatus WriteFile(const Path& path, const std::string& bytes) = 0;
  // The same, for bytes the caller gives up: a platform that keeps what is
  // written (the staging overlay) keeps them without a copy. A wrapper that
  // changes WriteFile changes this too.
  virtual IoStatus WriteFileMoved(const Path& path, std::string&& bytes) {
    return WriteFile(path, bytes);
  }
  virtual IoStatus SyncFile(const Path& path) = 0;
  // Renames a file over an existing one, or a folder to a free name.
  virtual IoStatus RenameFile(const Path& from, const Path& to) = 0;
  // kNotFound when the file is not there.
  virtual IoStatus DeleteFile(const Path& path) = 0;
  // Deletes each file as DeleteFile does, answering in the same order. The
  // real file system deletes several at once, since each deletion waits on
  // the disk and not on the others. A wrapper that changes DeleteFile
  // changes this too.
  virtual std::vector<IoStatus> DeleteFiles(const std::vector<Path>& paths) {
    std::vector<IoStatus> statuses;
    statuses.reserve(paths.size());
    for (const Path& path : paths) statuses.push_back(DeleteFile(path));
    return statuses;
  }
  // Removes an empty folder.
  virtual IoStatus RemoveFolder(const Path& path) = 0;
  // Makes the folder's entries (creations, renames, deletions) durable.
  virtual IoStatus SyncFolder(const Path& path) = 0;
  // Gives `to` the permission bits (attributes on Windows) of `from`.
  virtual IoStatus CopyPermissions(const Path& from, const Path& to) = 0;
  // One level; kCannotCreate if it could not be created (also when it exists).
  virtual IoStatus CreateDirectory(const Path& path) = 0;
  // What is at the path; a symbolic link is not followed.
  virtual PathKind Inspect(const Path& path) = 0;
  // Every entry of the folder but "." and ".."; or why it cannot be listed.
  virtual FolderListing ListFolder(const Path& folder) = 0;

  // Whether the file could be renamed over or deleted now. Windows refuses
  // both for a file another program holds without sharing deletion, and for
  // a read-only one; POSIX for neither.
  virtual Replaceable CanReplace(const Path& path) = 0;
  // Whether a new file could be made in the folder now: false for a folder
  // the user may not write (Program Files for a standard user).
  virtual bool CanWriteIn(const Path& folder) = 0;

  // The drive that holds the existing folder; nullopt when it cannot be asked.
  virtual std::optional<DiskSpace> SpaceOn(const Path& folder) = 0;
  // The full paths, as the user is shown them, of the programs running from
  // the folder or below it, this process's own excluded.
  virtual std::vector<std::string> ProgramsRunningIn(const Path& folder) = 0;

  // Takes the exclusive lock of the file, creating the file when missing;
  // never waits.
  virtual TakenLock LockFile(const Path& path) = 0;

  // Waits; for a file another program holds only for a moment.
  virtual void Pause(int milliseconds) = 0;

  // Full path of the running program.
  virtual Path ExecutablePath() = 0;
  virtual LocalTime Now() = 0;

  // A text (UTF-8) as the user is shown it: each path it names stands where
  // the file lies, such as a folder Windows keeps in the VirtualStore.
  virtual std::string ShownText(const std::string& text) { return text; }
  // A path as the user is shown it, the same way.
  std::string Shown(const Path& path) { return ShownText(path.text()); }

  // The system's name and version, as a run's record states it.
  virtual std::string SystemVersion() { return ""; }
  // Whether the folder lies on another computer (a mapped network drive, a
  // UNC path, a NAS): a program open there on another PC cannot be seen.
  virtual bool OnNetworkDrive(const Path& /*folder*/) { return false; }
  // Whether another account than the one whose data lies in the folder runs
  // the tool; nullopt when it is the same.
  virtual std::optional<OtherAccount> RunningAsOtherAccount(const Path& /*folder*/) {
    return std::nullopt;
  }

  // Why the operation on `path` failed with the system's `code`.
  virtual SystemReason Reason(int code, const Path& /*path*/) {
    return {code, SystemErrorText(code), Blocker::kNone, ""};
  }
};

// Forwards every call, so that a layer over another platform (the staging
// overlay, the VirtualStore view, the dry run's overlay) overrides only what
// it changes.
class PlatformWrapper : public Platform {
 public:
  explicit PlatformWrapper(Platform* target) : target_(target) {}

  bool TestOpen(const Path& path) override { return target_->TestOpen(path); }
  IoStatus ReadFile(const Path& path, std::string* bytes) override {
    return target_->ReadFile(path, bytes);
  }
  IoStatus WriteFile(const Path& path, const std::string& bytes) override {
    return target_->WriteFile(path, bytes);
  }
  IoStatus WriteFileMoved(const Path& path, std::string&& bytes) override {
    return target_->WriteFileMoved(path, std::move(bytes));
  }
  IoStatus SyncFile(const Path& path) override { return target_->SyncFile(path); }
  IoStatus RenameFile(const Path& from, const Path& to) override {
    return target_->RenameFile(from, to);
  }
  IoStatus DeleteFile(const Path& path) override { return target_->DeleteFile(path); }
  std::vector<IoStatus> DeleteFiles(const std::vector<Path>& paths) override {
    return target_->DeleteFiles(paths);
  }
  IoStatus RemoveFolder(const Path& path) override { return target_->RemoveFolder(path); }
  IoStatus SyncFolder(const Path& path) override { return target_->SyncFolder(path); }
  IoStatus CopyPermissions(const Path& from, const Path& to) override {
    return target_->CopyPermissions(from, to);
  }
  IoStatus CreateDirectory(const Path& path) override { return target_->CreateDirectory(path); }
  PathKind Inspect(const Path& path) override { return target_->Inspect(path); }
  FolderListing ListFolder(const Path& folder) override { return target_->ListFolder(folder); }
  Replaceable CanReplace(const Path& path) override { return target_->CanReplace(path); }
  bool CanWriteIn(const Path& folder) override { return target_->CanWriteIn(folder); }
  std::optional<DiskSpace> SpaceOn(const Path& folder) override { return target_->SpaceOn(folder); }
  std::vector<std::string> ProgramsRunningIn(const Path& folder) override {
    return target_->ProgramsRunningIn(folder);
  }
  TakenLock LockFile(const Path& path) override { return target_->LockFile(path); }
  void Pause(int milliseconds) override { target_->Pause(milliseconds); }
  Path ExecutablePath() override { return target_->ExecutablePath(); }
  LocalTime Now() override { return target_->Now(); }
  std::string ShownText(const std::string& text) override { return target_->ShownText(text); }
  std::string SystemVersion() override { return target_->SystemVersion(); }
  bool OnNetworkDrive(const Path& folder) override { return target_->OnNetworkDrive(folder); }
  std::optional<OtherAccount> RunningAsOtherAccount(const Path& folder) override {
    return target_->RunningAsOtherAccount(folder);
  }
  SystemReason Reason(int code, const Path& path) override { return target_->Reason(code, path); }

 protected:
  Platform* target() const { return target_; }

 private:
  Platform* target_;
};

}  // namespace dayledger
