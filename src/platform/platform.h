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
#include "platform/status.h"

namespace dayledger {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
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
// A lock held; letting go of it releases the lock.
using Lock = std::unique_ptr<FileLock>;

struct FolderEntry {
  std::string name;  // UTF-8
  bool folder = false;
  // Not an ordinary entry: a dot name, a hidden or system file on Windows,
  // or neither a file nor a folder.
  bool hidden = false;
  std::uint64_t size = 0;  // a file's length in bytes
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

  // Opens the file for reading and closes it again: kNotFound when nothing
  // is there, kReadFailed when it cannot be opened.
  virtual Status TestOpen(const Path& path) = 0;
  // Whole file as bytes; kNotFound when nothing is there, kReadFailed when
  // it cannot be opened or read.
  virtual Status ReadFile(const Path& path, std::string* bytes) = 0;
  // Creates or truncates the file and writes the bytes. Not flushed: a
  // crash may lose them until SyncFile, and a new name until SyncFolder.
  virtual Status WriteFile(const Path& path, const std::string& bytes) = 0;
  // The same, for bytes the caller gives up: a platform that keeps what is
  // written (the staging overlay) keeps them without a copy. A wrapper that
  // changes WriteFile changes this too.
  virtual Status WriteFileMoved(const Path& path, std::string&& bytes) {
    return WriteFile(path, bytes);
  }
  virtual Status SyncFile(const Path& path) = 0;
  // Renames a file over an existing one, or a folder to a free name.
  virtual Status RenameFile(const Path& from, const Path& to) = 0;
  // kNotFound when the file is not there.
  virtual Status DeleteFile(const Path& path) = 0;
  // Deletes each file as DeleteFile does, answering in the same order. The
  // real file system deletes several at once, since each deletion waits on
  // the disk and not on the others. A wrapper that changes DeleteFile
  // changes this too.
  virtual std::vector<Status> DeleteFiles(const std::vector<Path>& paths) {
    std::vector<Status> statuses;
    statuses.reserve(paths.size());
    for (const Path& path : paths) statuses.push_back(DeleteFile(path));
    return statuses;
  }
  // Removes an empty folder.
  virtual Status RemoveFolder(const Path& path) = 0;
  // Makes the folder's entries (creations, renames, deletions) durable.
  virtual Status SyncFolder(const Path& path) = 0;
  // Gives `to` the permission bits (attributes on Windows) of `from`.
  virtual Status CopyPermissions(const Path& from, const Path& to) = 0;
  // One level; kCannotCreate if it could not be created (also when it exists).
  virtual Status CreateDirectory(const Path& path) = 0;
  // What is at the path (kMissing when nothing is); a symbolic link is not
  // followed. kReadFailed when the system could not look.
  virtual Result<PathKind> Inspect(const Path& path) = 0;
  // Every entry of the folder but "." and ".."; kNotFound when there is no
  // folder, kFolderUnreadable with the system's code when it cannot be
  // listed.
  virtual Result<std::vector<FolderEntry>> ListFolder(const Path& folder) = 0;

  // Whether the file could be renamed over or deleted now (ok also when it
  // is missing). Windows refuses both for a file another program holds
  // without sharing deletion (kHeld), for a read-only one (kReadOnly) and
  // where its permissions keep it (kDenied); POSIX only for kReadOnly.
  virtual Status CanReplace(const Path& path) = 0;
  // Whether a new file could be made in the folder now: kDenied for a
  // folder the user may not write (Program Files for a standard user).
  virtual Status CanWriteIn(const Path& folder) = 0;

  // The drive that holds the existing folder; kReadFailed when it cannot be
  // asked.
  virtual Result<DiskSpace> SpaceOn(const Path& folder) = 0;
  // The full paths, as the user is shown them, of the programs running from
  // the folder or below it, this process's own excluded.
  virtual std::vector<std::string> ProgramsRunningIn(const Path& folder) = 0;

  // Takes the exclusive lock of the file, creating the file when missing;
  // never waits. kBusy when another process holds it, kCannotCreate when the
  // lock file cannot be opened or locked (a read-only folder).
  virtual Result<Lock> LockFile(const Path& path) = 0;

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

  Status TestOpen(const Path& path) override { return target_->TestOpen(path); }
  Status ReadFile(const Path& path, std::string* bytes) override {
    return target_->ReadFile(path, bytes);
  }
  Status WriteFile(const Path& path, const std::string& bytes) override {
    return target_->WriteFile(path, bytes);
  }
  Status WriteFileMoved(const Path& path, std::string&& bytes) override {
    return target_->WriteFileMoved(path, std::move(bytes));
  }
  Status SyncFile(const Path& path) override { return target_->SyncFile(path); }
  Status RenameFile(const Path& from, const Path& to) override {
    return target_->RenameFile(from, to);
  }
  Status DeleteFile(const Path& path) override { return target_->DeleteFile(path); }
  std::vector<Status> DeleteFiles(const std::vector<Path>& paths) override {
    return target_->DeleteFiles(paths);
  }
  Status RemoveFolder(const Path& path) override { return target_->RemoveFolder(path); }
  Status SyncFolder(const Path& path) override { return target_->SyncFolder(path); }
  Status CopyPermissions(const Path& from, const Path& to) override {
    return target_->CopyPermissions(from, to);
  }
  Status CreateDirectory(const Path& path) override { return target_->CreateDirectory(path); }
  Result<PathKind> Inspect(const Path& path) override { return target_->Inspect(path); }
  Result<std::vector<FolderEntry>> ListFolder(const Path& folder) override {
    return target_->ListFolder(folder);
  }
  Status CanReplace(const Path& path) override { return target_->CanReplace(path); }
  Status CanWriteIn(const Path& folder) override { return target_->CanWriteIn(folder); }
  Result<DiskSpace> SpaceOn(const Path& folder) override { return target_->SpaceOn(folder); }
  std::vector<std::string> ProgramsRunningIn(const Path& folder) override {
    return target_->ProgramsRunningIn(folder);
  }
  Result<Lock> LockFile(const Path& path) override { return target_->LockFile(path); }
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

// Ok where `path` is a `kind`; `otherwise` where it is something else or
// nothing; the failure to look where the system could not.
inline Status ExpectKind(Platform& platform, const Path& path, PathKind kind, Status otherwise) {
  const Result<PathKind> found = platform.Inspect(path);
  if (!found.ok()) return found.status();
  return *found == kind ? Status::Ok() : otherwise;
}

// Whether the system says that `path` is a `kind`: false where it says
// otherwise, and where it could not look.
inline bool KnownToBe(Platform& platform, const Path& path, PathKind kind) {
  const Result<PathKind> found = platform.Inspect(path);
  return found.ok() && *found == kind;
}

// Whether the system says that nothing is at `path`. Where it could not
// look, something may be: callers that would make or take the name then
// leave it alone.
inline bool SurelyMissing(Platform& platform, const Path& path) {
  return KnownToBe(platform, path, PathKind::kMissing);
}

// Deletes the folder with everything below it, as far as it can; the first
// failure, if one stopped it. A folder not there is removed already; one
// that cannot be listed is answered by that failure, and stays whole.
Status RemoveTree(Platform& platform, const Path& folder);

}  // namespace dayledger
