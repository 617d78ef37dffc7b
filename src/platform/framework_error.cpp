// The framework's error texts and the errors of failed file operations.
#include "platform/framework_error.h"

#include "platform/platform.h"

namespace dayledger {

FrameworkError CannotOpenFile(const std::string& path, int code) {
  return FrameworkError("Cannot open file " + path, ErrorKind::kCannotOpenFile, path, code);
}

FrameworkError CannotCreateFile(const std::string& path, int code) {
  return FrameworkError("Cannot create file " + path, ErrorKind::kCannotCreateFile, path, code);
}

FrameworkError CannotOpenFolder(const std::string& path, int code) {
  return FrameworkError("Cannot open folder " + path, ErrorKind::kCannotOpenFolder, path, code);
}

FrameworkError CannotRenameFile(const std::string& path, int code) {
  return FrameworkError("Cannot rename file " + path, ErrorKind::kCannotRenameFile, path, code);
}

FrameworkError CannotDeleteFile(const std::string& path, int code) {
  return FrameworkError("Cannot delete file " + path, ErrorKind::kCannotDeleteFile, path, code);
}

FrameworkError ListIndexOutOfBounds(long long index, const std::string& path) {
  return FrameworkError("List index out of bounds (" + std::to_string(index) + ")",
                        ErrorKind::kListIndexOutOfBounds, path);
}

FrameworkError NotAValidInteger(const std::string& text, const std::string& path) {
  return FrameworkError("'" + text + "' is not a valid integer value", ErrorKind::kNotAValidInteger,
                        path);
}

FrameworkError StreamWriteError(const std::string& path, int code) {
  return FrameworkError("Stream write error", ErrorKind::kStreamWriteError, path, code);
}

void ThrowIfFailed(const IoStatus& status) {
  switch (status.error) {
    case IoError::kNone:
      return;
    case IoError::kNotFound:
    case IoError::kReadFailed:
      throw CannotOpenFile(status.path, status.code);
    case IoError::kWriteFailed:
    case IoError::kNoSpace:
    case IoError::kFlushFailed:
      throw StreamWriteError(status.path, status.code);
    case IoError::kCannotCreate:
      throw CannotCreateFile(status.path, status.code);
    case IoError::kRenameFailed:
      throw CannotRenameFile(status.path, status.code);
    case IoError::kDeleteFailed:
      throw CannotDeleteFile(status.path, status.code);
  }
}

void WriteFileOrThrow(Platform& platform, const std::string& path, const std::string& bytes) {
  ThrowIfFailed(platform.WriteFile(path, bytes));
}

void WriteFileOrThrow(Platform& platform, const std::string& path, std::string&& bytes) {
  ThrowIfFailed(platform.WriteFileMoved(path, std::move(bytes)));
}

void CopyFileOrThrow(Platform& platform, const std::string& from, const std::string& to) {
  std::string bytes;
  ThrowIfFailed(platform.ReadFile(from, &bytes));
  WriteFileOrThrow(platform, to, bytes);
}

std::string ErrorReportText(const std::string& message) {
  // Byte compare: a CP949 lead byte (>= 0x81) counts as greater, as a
  // Korean character does.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace dayledger
