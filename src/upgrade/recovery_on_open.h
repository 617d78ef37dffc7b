// What a front end does first when it opens an installation: every user's
// folder that an interrupted upgrade left behind is brought to a whole state.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace dayledger {

// Recovers every folder under AppDir\users. Returns what was done, one
// line per user (UTF-8), in the tool's words; empty when there was nothing.
std::vector<std::string> RecoverInstallation(Platform& platform, const std::string& app_dir);

// The notes as one message for a window's information box.
std::string RecoveryMessage(const std::vector<std::string>& notes);

}  // namespace dayledger
