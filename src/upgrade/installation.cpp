// The opened installation: its folder, its view of the disk, its recovery.
#include "upgrade/installation.h"

#include "upgrade/recovery_on_open.h"

namespace dayledger {

Installation::Installation(Platform& platform, std::string app_dir)
    : platform_(&platform), app_dir_(std::move(app_dir)) {}

Installation Installation::Open(SystemPlatform& system, const std::string& app_dir) {
  Installation installation(system, app_dir);
  if (const auto store = system.VirtualStoreFolder(app_dir)) {
    installation.store_ = std::make_unique<VirtualStorePlatform>(&system, app_dir, *store);
    installation.platform_ = installation.store_.get();
  }
  return installation;
}

Installation Installation::OfProgram(SystemPlatform& system) {
  return Open(system, AppDirFromExecutable(system.ExecutablePath()));
}

std::vector<std::string> Installation::Recover() {
  return RecoverInstallation(*platform_, app_dir_);
}

std::string AppDirFromExecutable(const std::string& executable_path) {
  const size_t slash = executable_path.rfind('\\');
  return slash == std::string::npos ? std::string() : executable_path.substr(0, slash + 1);
}

}  // namespace dayledger
