// The one error type of the tool. It carries the texts the scheduler's users
// know from the framework ("Cannot open file %s" and the others), in CP949
// bytes since paths are part of them.
#pragma once

#include <stdexcept>
#include <string>

namespace dayledger {

class FrameworkError : public std::runtime_error {
 public:
  explicit FrameworkError(const std::string& text) : std::runtime_error(text) {}
};

FrameworkError CannotOpenFile(const std::string& path);
FrameworkError CannotCreateFile(const std::string& path);
FrameworkError CannotOpenFolder(const std::string& path);
FrameworkError ListIndexOutOfBounds(long long index);
FrameworkError NotAValidInteger(const std::string& text);
FrameworkError StreamWriteError();

// Raises the error that matches a failed WriteFile for `path`.
class Platform;
void WriteFileOrThrow(Platform& platform, const std::string& path, const std::string& bytes);

// The text the error report shows: a period is added when the last
// character's code is greater than that of ".".
std::string ErrorReportText(const std::string& message);

}  // namespace dayledger
