// The tool's path helpers: normal form, parent folder, base name.
#include "platform/tool_path.h"

namespace dayledger {

std::string NormalPath(const std::string& path) {
  std::string normal;
  for (char c : path) {
    if (c == '/') c = '\\';
    if (c == '\\' && !normal.empty() && normal.back() == '\\') continue;
    normal.push_back(c);
  }
  if (normal.size() > 1 && normal.back() == '\\') normal.pop_back();
  return normal;
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

}  // namespace dayledger
