// Between the tool's backslash paths and the system's own.
#include "platform/native_path.h"

namespace dayledger {

std::string NativePathFromTool(const Path& path) {
  std::string native;
  native.reserve(path.text().size());
  for (char c : path.text()) {
    if (c == '\\') c = '/';
    if (c == '/' && !native.empty() && native.back() == '/') continue;
    native.push_back(c);
  }
  return native;
}

Path ToolPathFromNative(const std::string& native) {
  std::string tool = native;
  for (char& c : tool) {
    if (c == '/') c = '\\';
  }
  return Path(std::move(tool));
}

}  // namespace dayledger
