// The one shape of a failure: what kind it is, the file or folder it is
// about, and the system's own code for it, so that whoever helps can tell a
// full disk from a scanner from a bad sector. Result<T> holds a value or the
// Status of why there is none.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/path.h"

namespace dayledger {

// Callers decide by the kind, never by a text.
enum class StatusKind {
  kOk,
  kNotFound,          // nothing of that name
  kReadFailed,        // there, but it could not be opened, read or looked at
  kFolderUnreadable,  // a folder that is there but cannot be listed
  kCannotCreate,      // could not be created or opened for writing
  kWriteFailed,       // opened, but not every byte arrived
  kFlushFailed,       // the flush to the disk failed
  kRenameFailed,
  kDeleteFailed,   // still there: held open, read-only or not permitted
  kNoSpace,        // the disk (or the user's share of it) is full
  kBusy,           // a lock another program holds
  kHeld,           // another program holds the file open without sharing deletion
  kReadOnly,       // its read-only attribute (no write permission at all on POSIX)
  kDenied,         // its permissions refuse the change
  kDamaged,        // read whole, but not what it should be (a torn journal)
  kOutOfRange,     // a value outside what the tool knows (a date past the calendar's table)
  kWrongPassword,  // the password is not the one the profile keeps
  // The errors of the data and of the commit, each with the framework's or
  // the tool's own words.
  kIndexOutOfBounds,  // a file with fewer lines than it says (detail: the words)
  kNotAnInteger,      // a line that should hold a number (detail: the words)
  kLinkRefused,       // a file the change would replace is reached through a link
  // A change whose journal is complete could not be finished now; the next
  // start finishes it. Never a reason to restore the backup.
  kChangeSavedUnfinished,
  // What an interrupted change left cannot be read now (a scanner or a
  // synchronising client holds it), so recovery changed nothing.
  kRecoveryHeld,
  // A new file of an interrupted change is neither under its temporary name
  // nor in its place: recovery stopped and deleted nothing.
  kChangeLost,
  // A journal or a backup swap's record of a format this build does not
  // know: a newer build left it, and only such a build may finish it.
  kNewerFormat,
  kOther,  // an error with words of its own and no other kind (detail: the words)
};

struct [[nodiscard]] Status {
  StatusKind kind = StatusKind::kOk;
  Path path;     // the file or folder that failed
  int code = 0;  // errno, or GetLastError on Windows; 0 when the system gave none
  // An error's own words (UTF-8): the framework's text of a thrown error,
  // or the tool's; empty for a failure a system call answers.
  std::string detail;

  bool ok() const { return kind == StatusKind::kOk; }
  static Status Ok() { return {}; }
  static Status Failed(StatusKind kind, const Path& path, int code = 0) {
    return {kind, path, code, std::string()};
  }
};

// A value, or the Status that says why there is none.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: a value is a result
  // A failure; never Status::Ok().
  Result(Status status) : status_(std::move(status)) {}  // NOLINT: so is a failure

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  StatusKind kind() const { return status_.kind; }

  // Only where ok().
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  // The value, or `fallback` where there is none: for a caller to whom a
  // failure means the same as nothing found.
  T value_or(T fallback) const& { return ok() ? *value_ : std::move(fallback); }
  T value_or(T fallback) && { return ok() ? std::move(*value_) : std::move(fallback); }

 private:
  Status status_;
  std::optional<T> value_;
};

// A failure its caller lets pass on purpose, with the reason written at the
// call for the reader: IgnoreFailure(flushed, "the next settling flushes it").
inline void IgnoreFailure(const Status& /*status*/, const char* /*why*/) {}
template <typename T>
void IgnoreFailure(const Result<T>& /*result*/, const char* /*why*/) {}

}  // namespace dayledger
