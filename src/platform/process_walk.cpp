// The programs of a process listing that lie within a folder.
#include "platform/process_walk.h"

#include <filesystem>

namespace dayledger {

bool LiesWithin(const std::string& program, const FolderOnDevice& root,
                const std::function<std::optional<FolderOnDevice>(const std::string&)>& identity) {
  namespace fs = std::filesystem;
  for (fs::path at = fs::path(program).parent_path(); !at.empty(); at = at.parent_path()) {
    if (identity(at.string()) == root) return true;
    if (at == at.root_path()) break;
  }
  return false;
}

std::vector<std::string> ProgramsWithin(const ProcessImages& processes,
                                        const std::function<bool(const std::string&)>& within) {
  std::vector<std::string> programs;
  for (const std::optional<std::string>& image : processes) {
    if (image && within(*image)) programs.push_back(*image);
  }
  return programs;
}

}  // namespace dayledger
