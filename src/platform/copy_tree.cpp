#include "platform/copy_tree.h"

#include <vector>

#include "platform/tool_path.h"
#include "platform/work_files.h"

namespace dayledger {
namespace {

struct Copied {
  std::vector<std::string> files;
  std::vector<std::string> folders;
};

bool CopyInto(Platform& platform, const std::string& from, const std::string& to, Copied* copied) {
  const auto entries = platform.ListFolder(from);
  if (!entries) return false;
  for (const FolderEntry& entry : *entries) {
    if (IsWorkFile(entry.name)) continue;
    const std::string source = from + "\\" + entry.name;
    const std::string target = to + "\\" + entry.name;
    if (entry.folder) {
      platform.CreateDirectory(target);
      if (platform.Inspect(target) != PathKind::kFolder) return false;
      copied->folders.push_back(target);
      if (!CopyInto(platform, source, target, copied)) return false;
      continue;
    }
    std::string bytes;
    if (!platform.ReadFile(source, &bytes) || !platform.WriteFile(target, bytes).ok()) return false;
    copied->files.push_back(target);
  }
  return true;
}

}  // namespace

int CopyTree(Platform& platform, const std::string& from, const std::string& to) {
  const std::string source = NormalPath(from);
  return CopyTreeAs(platform, source, NormalPath(to) + "\\" + BaseName(source));
}

int CopyTreeAs(Platform& platform, const std::string& from, const std::string& as) {
  const std::string source = NormalPath(from);
  const std::string target = NormalPath(as);
  const std::string folder = ParentFolder(target);
  if (platform.Inspect(source) != PathKind::kFolder ||
      platform.Inspect(folder) != PathKind::kFolder) {
    return 1;
  }
  platform.CreateDirectory(target);
  if (platform.Inspect(target) != PathKind::kFolder) return 1;
  Copied copied;
  copied.folders = {ParentFolder(folder), folder, target};
  if (!CopyInto(platform, source, target, &copied)) return 1;
  for (const std::string& file : copied.files) {
    if (!platform.SyncFile(file).ok()) return 1;
  }
  for (const std::string& copied_folder : copied.folders) {
    if (!platform.SyncFolder(copied_folder).ok()) return 1;
  }
  return 0;
}

}  // namespace dayledger
