// The one error type of the tool. It carries the texts the scheduler's users
// know from the framework ("Cannot open file %s" and the others), in UTF-8,
// with the kind and the path apart, so that callers decide by kind and
// never by the text.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/path.h"
#include "platform/status.h"

namespace dayledger {

// Thrown inside the stages and the commit, and caught in one place
// (Guarded): it carries the Status of what failed, its words included.
class FrameworkError : public std::runtime_error {
 public:
  explicit FrameworkError(const std::string& text, StatusKind kind = StatusKind::kOther,
                          Path path = Path(), int code = 0)
      : std::runtime_error(text), status_{kind, std::move(path), code, text} {}
  explicit FrameworkError(const Status& status)
      : FrameworkError(status.detail, status.kind, status.path, status.code) {}

  StatusKind kind() const { return status_.kind; }
  // The file or folder the error is about, when it is about one.
  const Path& path() const { return status_.path; }
  // The system's code for the failure behind the error; 0 when none.
  int code() const { return status_.code; }
  // The error as a value, its words in `detail`.
  const Status& status() const { return status_; }

 private:
  Status status_;
};

FrameworkError CannotOpenFile(const Path& path, int code = 0);
FrameworkError CannotCreateFile(const Path& path, int code = 0);
FrameworkError CannotOpenFolder(const Path& path, int code = 0);
FrameworkError CannotRenameFile(const Path& path, int code = 0);
FrameworkError CannotDeleteFile(const Path& path, int code = 0);
// A parse error's text names no file; `path` is the file the lines came from.
// `text` is the data's own (CP949).
FrameworkError ListIndexOutOfBounds(long long index, const Path& path = Path());
FrameworkError NotAValidInteger(const std::string& text, const Path& path = Path());
// The framework's text names no file; the path is kept for the caller.
FrameworkError StreamWriteError(const Path& path = Path(), int code = 0);

class Platform;
// The error a failed file operation shows.
FrameworkError StatusError(const Status& status);
// Raises the error a failed file operation shows; nothing when it worked.
void ThrowIfFailed(const Status& status);
void WriteFileOrThrow(Platform& platform, const Path& path, const std::string& bytes);
// The same for bytes the caller gives up (kept without a copy where possible).
void WriteFileOrThrow(Platform& platform, const Path& path, std::string&& bytes);
// Copies a file whole, replacing the destination: "Cannot open file" names
// a source that cannot be read, a failed write names the destination.
void CopyFileOrThrow(Platform& platform, const Path& from, const Path& to);

// The text the error report shows: a period is added when the last
// character's code is greater than that of ".".
std::string ErrorReportText(const std::string& message);

}  // namespace dayledger
