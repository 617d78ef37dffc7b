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

const std::string& Path::NormalText(std::string* made) const {
  if (IsNormal(text_)) return text_;
  std::string& normal = *made;
  normal.reserve(text_.size());
  for (char c : text_) {
    if (c == '/') c = '\\';
    // "\\server\share": the network path's own two backslashes stay.
    if (c == '\\' && !normal.empty() && normal.back() == '\\' && normal != "\\") continue;
    normal.push_back(c);
  }
  if (normal.size() > 1 && normal.back() == '\\' && normal != "\\\\") normal.pop_back();
  return normal;
}

Path Path::Normal() const {
  std::string made;
  return Path(NormalText(&made));
}

Path Path::Parent() const {
  std::string made;
  const std::string& normal = NormalText(&made);
  const size_t slash = normal.rfind('\\');
  return slash == std::string::npos ? Path() : Path(normal.substr(0, slash));
}

std::string Path::Name() const {
  std::string made;
  const std::string& normal = NormalText(&made);
  return normal.substr(normal.rfind('\\') + 1);
}

Path Path::operator/(std::string_view name) const {
  std::string joined;
  joined.reserve(text_.size() + 1 + name.size());
  joined.append(text_).append("\\").append(name);
  return Path(std::move(joined));
}

bool Path::Holds(const Path& other) const {
  std::string made_root;
  std::string made_path;
  const std::string& root = NormalText(&made_root);
  const std::string& path = other.NormalText(&made_path);
  return path.compare(0, root.size(), root) == 0 &&
         (path.size() == root.size() || path[root.size()] == '\\');
}

std::string Path::RelativeOf(const Path& other) const {
  std::string made_root;
  std::string made_path;
  const std::string& root = NormalText(&made_root);
  const std::string& path = other.NormalText(&made_path);
  return path.size() > root.size() ? path.substr(root.size() + 1) : std::string();
}

int Path::Compare(const Path& a, const Path& b) {
  std::string made_a;
  std::string made_b;
  return a.NormalText(&made_a).compare(b.NormalText(&made_b));
}

}  // namespace dayledger
