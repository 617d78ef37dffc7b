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

// The images for which `within` says yes. A process that cannot be asked
// about is passed over: the walk goes on to the next.
std::vector<std::string> ProgramsWithin(const ProcessImages& processes,
                                        const std::function<bool(const std::string&)>& within);

}  // namespace dayledger
