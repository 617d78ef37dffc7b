// The pre-flight check: runs the real upgrade of one user on a platform that
// keeps every change in memory, and collects every problem it meets instead
// of stopping at the first one.
#pragma once

#include <string>
#include <vector>

#include "upgrade/installation.h"
#include "upgrade/reply.h"

namespace dayledger {

struct PreflightProblem {
  std::string path;   // the file, as shown
  std::string error;  // the text the upgrade's error report would show
};

// `user_index` is the user's position in the user list; `password` (UTF-8)
// is checked when the user's data is encrypted. kDone when the upgrade would
// go through; kRefused otherwise, with the messages of the start checks that
// said no as its notices, and every file the upgrade would stop at found.
Answer<std::vector<PreflightProblem>> CheckUser(Installation& installation, int user_index,
                                                const std::string& password);

}  // namespace dayledger
