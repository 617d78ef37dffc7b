// Maps the tool's Windows-style CP949 paths to native UTF-8 POSIX paths and back.
#pragma once

#include <string>

namespace dayledger {

// "\work\app\\users\홍길동\profile.qbd" -> "/work/app/users/홍길동/profile.qbd":
// backslashes become slashes, a doubled separator counts once.
std::string NativePathFromTool(const std::string& tool_path_utf8);
// "/work/app/dayledger" -> "\work\app\dayledger".
std::string ToolPathFromNative(const std::string& native_utf8);

}  // namespace dayledger
