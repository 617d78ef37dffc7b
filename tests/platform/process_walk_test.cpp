// The walk over a process listing: a process that cannot be asked about is
// passed over, and the walk goes on past it; a program lies within the
// installation's folder by the folder's device and number.
#include "platform/process_walk.h"

#include <gtest/gtest.h>

#include <map>

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

// The rule: a folder on the program's way up is the installation's folder
// itself, the same number on the same device. The same number on another
// device is another folder; a second path to the folder is the folder.
TEST(ProcessWalkTest, AFolderIsItsDeviceAndItsNumber) {
  const FolderOnDevice root{1, 100};
  const std::map<std::string, FolderOnDevice> folders = {
      {"/", {1, 2}},       {"/app", {1, 100}},       {"/app/bin", {1, 101}},
      {"/mnt", {2, 2}},    {"/mnt/other", {2, 100}},  // the same number, another device
      {"/link", {1, 100}}, {"/home", {1, 50}},
  };
  const auto identity = [&](const std::string& path) -> std::optional<FolderOnDevice> {
    const auto found = folders.find(path);
    if (found == folders.end()) return std::nullopt;
    return found->second;
  };
  const struct {
    const char* program;
    bool within;
  } cases[] = {
      {"/app/Dayledger.exe", true},       {"/app/bin/Dayledger.exe", true},
      {"/link/Dayledger.exe", true},      {"/mnt/other/Dayledger.exe", false},
      {"/home/kim/Dayledger.exe", false}, {"/unknown/Dayledger.exe", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LiesWithin(c.program, root, identity), c.within) << c.program;
}

}  // namespace
}  // namespace dayledger
