// Maps the tool's Windows-style paths to native POSIX paths and back.
#pragma once

#include <string>

#include "platform/path.h"

namespace dayledger {

// "\work\app\\users\홍길동\profile.qbd" -> "/work/app/users/홍길동/profile.qbd":
// backslashes become slashes, a doubled separator counts once.
std::string NativePathFromTool(const Path& path);
// "/work/app/dayledger" -> "\work\app\dayledger".
Path ToolPathFromNative(const std::string& native);

}  // namespace dayledger
