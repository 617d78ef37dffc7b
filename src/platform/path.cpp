// The tool's paths: normal form, parent, name, joining.
#include "platform/path.h"

namespace dayledger {

namespace {

// Whether the text is in normal form already: the paths the tool makes
// itself mostly are, and are then taken as they are.
bool IsNormal(const std::string& text) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '/' || (text[at] == '\\' && at > 1 && text[at - 1] == '\\')) return false;
  }
  return text.size() <= 1 || text.back() != '\\' || text == "\\\\";
}

}  // namespace

Path Path::Normal() const {
  if (IsNormal(text_)) return *this;
  std::string normal;
  normal.reserve(text_.size());
  for (char c : text_) {
    if (c == '/') c = '\\';
    // "\\server\share": the network path's own two backslashes stay.
    if (c == '\\' && !normal.empty() && normal.back() == '\\' && normal != "\\") continue;
    normal.push_back(c);
  }
  if (normal.size() > 1 && normal.back() == '\\' && normal != "\\\\") normal.pop_back();
  return Path(std::move(normal));
}

Path Path::Parent() const {
  const std::string normal = Normal().text_;
  const size_t slash = normal.rfind('\\');
  return slash == std::string::npos ? Path() : Path(normal.substr(0, slash));
}

std::string Path::Name() const {
  const std::string normal = Normal().text_;
  return normal.substr(normal.rfind('\\') + 1);
}

Path Path::operator/(std::string_view name) const { return Path(text_ + "\\" + std::string(name)); }

bool Path::Holds(const Path& other) const {
  const std::string root = Normal().text_;
  const std::string path = other.Normal().text_;
  return path.compare(0, root.size(), root) == 0 &&
         (path.size() == root.size() || path[root.size()] == '\\');
}

std::string Path::RelativeOf(const Path& other) const {
  const std::string root = Normal().text_;
  const std::string path = other.Normal().text_;
  return path.size() > root.size() ? path.substr(root.size() + 1) : std::string();
}

}  // namespace dayledger
