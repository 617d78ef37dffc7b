// Paths in Windows' long form.
#include "platform/long_path.h"

#include <vector>

namespace dayledger {
namespace {

// The components after `root`, with "." dropped and ".." taking one back
// (never past the root).
std::string Resolved(const std::string& root, const std::string& rest) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    const size_t end = std::min(rest.find('\\', start), rest.size());
    const std::string part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string path = root;
  for (size_t i = 0; i < parts.size(); ++i) path += (i ? "\\" : "") + parts[i];
  return path;
}

}  // namespace

std::string LongPathForm(const std::string& path) {
  if (path.starts_with("\\\\?\\")) return path;
  std::string normal = path;
  for (char& c : normal) {
    if (c == '/') c = '\\';
  }
  if (normal.starts_with("\\\\")) {
    // \\server\share\rest: the server and share stay as the root.
    const size_t server_end = normal.find('\\', 2);
    const size_t share_end =
        server_end == std::string::npos ? std::string::npos : normal.find('\\', server_end + 1);
    if (share_end == std::string::npos) return "\\\\?\\UNC\\" + normal.substr(2);
    return Resolved("\\\\?\\UNC\\" + normal.substr(2, share_end - 2) + "\\",
                    normal.substr(share_end + 1));
  }
  if (normal.size() >= 2 && normal[1] == ':') {
    return Resolved("\\\\?\\" + normal.substr(0, 2) + "\\", normal.substr(2));
  }
  return path;  // relative: Windows must resolve it itself
}

}  // namespace dayledger
