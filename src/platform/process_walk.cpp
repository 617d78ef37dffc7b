// The programs of a process listing that lie within a folder.
#include "platform/process_walk.h"

namespace dayledger {

std::vector<std::string> ProgramsWithin(const ProcessImages& processes,
                                        const std::function<bool(const std::string&)>& within) {
  std::vector<std::string> programs;
  for (const std::optional<std::string>& image : processes) {
    if (image && within(*image)) programs.push_back(*image);
  }
  return programs;
}

}  // namespace dayledger
