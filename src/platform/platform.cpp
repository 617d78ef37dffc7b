// What every platform offers on top of its own operations.
#include "platform/platform.h"

#include <algorithm>
#include <cctype>

namespace dayledger {
namespace {

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool HasQbdExtension(const std::string& name) {
  return name.size() >= 4 && LowerAscii(name.substr(name.size() - 4)) == ".qbd";
}

}  // namespace

std::optional<std::vector<std::string>> ListQbdFiles(Platform& platform,
                                                     const std::string& folder) {
  const auto entries = platform.ListFolder(folder);
  if (!entries) return std::nullopt;
  std::vector<std::string> names;
  for (const FolderEntry& entry : *entries) {
    if (!entry.folder && !entry.hidden && HasQbdExtension(entry.name)) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
  });
  return names;
}

}  // namespace dayledger
