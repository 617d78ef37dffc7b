// UpgradeTool's construction and its progress log.
#include "upgrade/upgrade_tool.h"

#include <cstdio>

namespace dayledger {

UpgradeTool::UpgradeTool(Installation& installation, UpgradePort& port)
    : platform_(installation.platform()), port_(port) {
  state_.TargetVersion = kTargetVersion;
  state_.AppDir = installation.app_dir();
  state_.Encrypted = false;
}

void UpgradeTool::AddLog(const std::string& text) {
  const LocalTime now = platform_.Now();
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d]", now.hour % 100, now.minute % 100,
                now.second % 100);
  port_.AppendLogLine(stamp + text);
}

void UpgradeTool::Progress(const std::string& what, int done, int total) {
  port_.ShowProgress(what, done, total);
}

}  // namespace dayledger
