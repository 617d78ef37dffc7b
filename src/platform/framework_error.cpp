// The framework's error texts and the errors of failed file operations.
#include "platform/framework_error.h"

#include "platform/cp949_codec.h"
#include "platform/platform.h"

namespace dayledger {

FrameworkError CannotOpenFile(const Path& path, int code) {
  return FrameworkError("Cannot open file " + path.text(), StatusKind::kReadFailed, path, code);
}

FrameworkError CannotCreateFile(const Path& path, int code) {
  return FrameworkError("Cannot create file " + path.text(), StatusKind::kCannotCreate, path, code);
}

FrameworkError CannotOpenFolder(const Path& path, int code) {
  return FrameworkError("Cannot open folder " + path.text(), StatusKind::kFolderUnreadable, path,
                        code);
}

FrameworkError CannotRenameFile(const Path& path, int code) {
  return FrameworkError("Cannot rename file " + path.text(), StatusKind::kRenameFailed, path, code);
}

FrameworkError CannotDeleteFile(const Path& path, int code) {
  return FrameworkError("Cannot delete file " + path.text(), StatusKind::kDeleteFailed, path, code);
}

FrameworkError ListIndexOutOfBounds(long long index, const Path& path) {
  return FrameworkError("List index out of bounds (" + std::to_string(index) + ")",
                        StatusKind::kIndexOutOfBounds, path);
}

FrameworkError NotAValidInteger(const std::string& text, const Path& path) {
  std::string words = "'";
  words.append(Cp949ToUtf8Text(text)).append("' is not a valid integer value");
  return FrameworkError(words, StatusKind::kNotAnInteger, path);
}

FrameworkError StreamWriteError(const Path& path, int code) {
  return FrameworkError("Stream write error", StatusKind::kWriteFailed, path, code);
}

FrameworkError StatusError(const Status& status) {
  switch (status.kind) {
    case StatusKind::kOk:
      break;
    case StatusKind::kNotFound:
    case StatusKind::kReadFailed:
      return CannotOpenFile(status.path, status.code);
    case StatusKind::kFolderUnreadable:
      return CannotOpenFolder(status.path, status.code);
    case StatusKind::kWriteFailed:
    case StatusKind::kNoSpace:
    case StatusKind::kFlushFailed:
      return StreamWriteError(status.path, status.code);
    case StatusKind::kCannotCreate:
      return CannotCreateFile(status.path, status.code);
    case StatusKind::kRenameFailed:
      return CannotRenameFile(status.path, status.code);
    case StatusKind::kDeleteFailed:
      return CannotDeleteFile(status.path, status.code);
    // A file that cannot be replaced: the tool's own words say why, so the
    // code of the check that found it is not repeated.
    case StatusKind::kHeld:
      return FrameworkError(status.path.text(), StatusKind::kHeld, status.path);
    case StatusKind::kReadOnly:
      return FrameworkError(status.path.text(), StatusKind::kReadOnly, status.path);
    case StatusKind::kDenied:
      return FrameworkError(status.path.text(), StatusKind::kDenied, status.path);
    case StatusKind::kDamaged:
      return CannotOpenFile(status.path, status.code);
    // Answered to a caller that decides, never thrown: a lock is refused
    // before any stage, a wrong password is asked again, a date past the
    // calendar's table is not shown.
    case StatusKind::kBusy:
    case StatusKind::kOutOfRange:
    case StatusKind::kWrongPassword:
      break;
    // An error's own: its words travel with it.
    case StatusKind::kIndexOutOfBounds:
    case StatusKind::kNotAnInteger:
    case StatusKind::kLinkRefused:
    case StatusKind::kChangeSavedUnfinished:
    case StatusKind::kRecoveryHeld:
    case StatusKind::kChangeLost:
    case StatusKind::kNewerFormat:
    case StatusKind::kOther:
      return FrameworkError(status);
  }
  return FrameworkError("");
}

void ThrowIfFailed(const Status& status) {
  if (!status.ok()) throw StatusError(status);
}

void WriteFileOrThrow(Platform& platform, const Path& path, const std::string& bytes) {
  ThrowIfFailed(platform.WriteFile(path, bytes));
}

void WriteFileOrThrow(Platform& platform, const Path& path, std::string&& bytes) {
  ThrowIfFailed(platform.WriteFileMoved(path, std::move(bytes)));
}

void CopyFileOrThrow(Platform& platform, const Path& from, const Path& to) {
  std::string bytes;
  ThrowIfFailed(platform.ReadFile(from, &bytes));
  WriteFileOrThrow(platform, to, bytes);
}

std::string ErrorReportText(const std::string& message) {
  // Byte compare: each byte of a Korean character (>= 0x80) counts as
  // greater, as the character does.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace dayledger
