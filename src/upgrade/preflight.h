// The pre-flight check: runs the real upgrade of one user on a platform that
// keeps every change in memory, and collects every problem it meets instead
// of stopping at the first one.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace dayledger {

struct PreflightProblem {
  std::string path;   // the tool's path, UTF-8
  std::string error;  // the text the upgrade's error report would show
};

struct PreflightResult {
  std::vector<std::string> refusals;  // messages of start checks that said no
  std::vector<PreflightProblem> problems;
  bool clean() const { return refusals.empty() && problems.empty(); }
};

// `user_index` is the user's position in the user list; `password` (UTF-8)
// is checked when the user's data is encrypted.
PreflightResult CheckUser(Platform& platform, const std::string& app_dir, int user_index,
                          const std::string& password);

}  // namespace dayledger
