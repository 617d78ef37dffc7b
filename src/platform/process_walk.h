// The walk over the running processes that finds the programs started from
// a folder: one rule for every system, over the listing each system gives.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dayledger {

// The running processes as the system lists them, this one's own left out:
// each one's image path (UTF-8), or nullopt for a process this user may not
// ask about, or one that ended while the list was read.
using ProcessImages = std::vector<std::optional<std::string>>;

// Where a folder is, whatever path leads to it: its device and its number
// on that device (an inode, or a file index).
struct FolderOnDevice {
  unsigned long long device = 0;
  unsigned long long number = 0;
  bool operator==(const FolderOnDevice&) const = default;
};

// Whether `program` (a native path) lies within the folder that is `root`:
// some folder on its way up is that very folder, reached by this path or
// another (a link, a second mount). `identity` answers for a folder's path,
// or nullopt where it cannot be asked.
bool LiesWithin(const std::string& program, const FolderOnDevice& root,
                const std::function<std::optional<FolderOnDevice>(const std::string&)>& identity);

// The images for which `within` says yes. A process that cannot be asked
// about is passed over: the walk goes on to the next.
std::vector<std::string> ProgramsWithin(const ProcessImages& processes,
                                        const std::function<bool(const std::string&)>& within);

}  // namespace dayledger
