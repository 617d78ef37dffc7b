// What an interrupted change left behind, told to the person who opens the
// installation (Installation::Recover, in installation_recovery.cpp, does it).
#pragma once

#include <string>
#include <vector>

namespace dayledger {

// The notes as one message for a window's information box.
std::string RecoveryMessage(const std::vector<std::string>& notes);

}  // namespace dayledger
