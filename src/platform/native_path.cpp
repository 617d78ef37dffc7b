// Between the tool's backslash paths and the system's own.
#include "platform/native_path.h"

namespace dayledger {

std::string NativePathFromTool(const std::string& tool_path_utf8) {
  std::string native;
  native.reserve(tool_path_utf8.size());
  for (char c : tool_path_utf8) {
    if (c == '\\') c = '/';
    if (c == '/' && !native.empty() && native.back() == '/') continue;
    native.push_back(c);
  }
  return native;
}

std::string ToolPathFromNative(const std::string& native_utf8) {
  std::string tool = native_utf8;
  for (char& c : tool) {
    if (c == '/') c = '\\';
  }
  return tool;
}

}  // namespace dayledger
