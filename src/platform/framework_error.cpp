#include "platform/framework_error.h"

#include "platform/platform.h"

namespace dayledger {

FrameworkError CannotOpenFile(const std::string& path) {
  return FrameworkError("Cannot open file " + path);
}

FrameworkError CannotCreateFile(const std::string& path) {
  return FrameworkError("Cannot create file " + path);
}

FrameworkError CannotOpenFolder(const std::string& path) {
  return FrameworkError("Cannot open folder " + path);
}

FrameworkError ListIndexOutOfBounds(long long index) {
  return FrameworkError("List index out of bounds (" + std::to_string(index) + ")");
}

FrameworkError NotAValidInteger(const std::string& text) {
  return FrameworkError("'" + text + "' is not a valid integer value");
}

FrameworkError StreamWriteError() { return FrameworkError("Stream write error"); }

void WriteFileOrThrow(Platform& platform, const std::string& path, const std::string& bytes) {
  switch (platform.WriteFile(path, bytes)) {
    case WriteResult::kOk:
      return;
    case WriteResult::kCannotCreate:
      throw CannotCreateFile(path);
    case WriteResult::kWriteFailed:
      throw StreamWriteError();
  }
}

std::string ErrorReportText(const std::string& message) {
  // Byte compare: a CP949 lead byte (>= 0x81) counts as greater, as a
  // Korean character does.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace dayledger
