// The walk over a process listing: a process that cannot be asked about is
// passed over, and the walk goes on past it.
#include "platform/process_walk.h"

#include <gtest/gtest.h>

namespace dayledger {
namespace {

TEST(ProcessWalkTest, PassesOverWhatCannotBeAskedAbout) {
  const auto in_folder = [](const std::string& image) { return image.starts_with("C:\\D\\"); };
  const struct {
    const char* name;
    ProcessImages processes;
    std::vector<std::string> found;
  } cases[] = {
      {"none", {}, {}},
      {"one unreadable first",
       {std::nullopt, "C:\\D\\Dayledger.exe", "C:\\Windows\\explorer.exe"},
       {"C:\\D\\Dayledger.exe"}},
      {"unreadable between",
       {"C:\\D\\a.exe", std::nullopt, std::nullopt, "C:\\D\\b.exe"},
       {"C:\\D\\a.exe", "C:\\D\\b.exe"}},
      {"only unreadable", {std::nullopt, std::nullopt}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramsWithin(c.processes, in_folder), c.found) << c.name;
}

}  // namespace
}  // namespace dayledger
