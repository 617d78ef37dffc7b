// One scheduler installation, opened once by each program: its folder in the
// tool's form, the view of the disk through which the scheduler sees it, and
// the recovery of what an interrupted change left behind. Everything else
// reaches the installation through it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/system_platform.h"
#include "platform/virtual_store_platform.h"

namespace dayledger {

class Installation {
 public:
  // The installation in the folder `app_dir` (AppDir form, ending in a
  // backslash), seen as the scheduler sees it: through the user's
  // VirtualStore where Windows keeps one for it.
  static Installation Open(SystemPlatform& system, const std::string& app_dir);
  // The installation the running program lies in.
  static Installation OfProgram(SystemPlatform& system);
  // On a platform that already is the view to use: a dry run's overlay, or
  // a test's own file system.
  Installation(Platform& platform, std::string app_dir);

  Platform& platform() { return *platform_; }
  const std::string& app_dir() const { return app_dir_; }

  // Finishes or undoes what an interrupted change left in each user's
  // folder; what was done, one line per user (UTF-8), empty when nothing.
  std::vector<std::string> Recover();

 private:
  std::unique_ptr<VirtualStorePlatform> store_;  // the view, when there is one
  Platform* platform_;
  std::string app_dir_;
};

// The directory part of the executable's path, trailing backslash included.
std::string AppDirFromExecutable(const std::string& executable_path);

}  // namespace dayledger
