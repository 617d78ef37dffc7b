// The framework's error texts and the errors of failed file operations.
#include "platform/framework_error.h"

#include "platform/cp949_codec.h"
#include "platform/platform.h"

namespace dayledger {

FrameworkError CannotOpenFile(const Path& path, int code) {
  return FrameworkError("Cannot open file " + path.text(), ErrorKind::kCannotOpenFile, path, code);
}

FrameworkError CannotCreateFile(const Path& path, int code) {
  return FrameworkError("Cannot create file " + path.text(), ErrorKind::kCannotCreateFile, path,
                        code);
}

FrameworkError CannotOpenFolder(const Path& path, int code) {
  return FrameworkError("Cannot open folder " + path.text(), ErrorKind::kCannotOpenFolder, path,
                        code);
}

FrameworkError CannotRenameFile(const Path& path, int code) {
  return FrameworkError("Cannot rename file " + path.text(), ErrorKind::kCannotRenameFile, path,
                        code);
}

FrameworkError CannotDeleteFile(const Path& path, int code) {
  return FrameworkError("Cannot delete file " + path.text(), ErrorKind::kCannotDeleteFile, path,
                        code);
}

FrameworkError ListIndexOutOfBounds(long long index, const Path& path) {
  return FrameworkError("List index out of bounds (" + std::to_string(index) + ")",
                        ErrorKind::kListIndexOutOfBounds, path);
}

FrameworkError NotAValidInteger(const std::string& text, const Path& path) {
  std::string words = "'";
  words.append(Cp949ToUtf8Text(text)).append("' is not a valid integer value");
  return FrameworkError(words, ErrorKind::kNotAValidInteger, path);
}

FrameworkError StreamWriteError(const Path& path, int code) {
  return FrameworkError("Stream write error", ErrorKind::kStreamWriteError, path, code);
}

FrameworkError StatusError(const IoStatus& status) {
  switch (status.error) {
    case IoError::kNone:
      break;
    case IoError::kNotFound:
    case IoError::kReadFailed:
      return CannotOpenFile(status.path, status.code);
    case IoError::kWriteFailed:
    case IoError::kNoSpace:
    case IoError::kFlushFailed:
      return StreamWriteError(status.path, status.code);
    case IoError::kCannotCreate:
      return CannotCreateFile(status.path, status.code);
    case IoError::kRenameFailed:
      return CannotRenameFile(status.path, status.code);
    case IoError::kDeleteFailed:
      return CannotDeleteFile(status.path, status.code);
  }
  return FrameworkError("");
}

void ThrowIfFailed(const IoStatus& status) {
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
