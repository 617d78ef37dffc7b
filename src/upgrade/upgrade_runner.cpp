#include "upgrade/upgrade_runner.h"

#include "upgrade/error_report.h"

namespace dayledger {

RunOutcome RunUpgrade(UpgradeTool& tool, HeadlessPort& port, Platform& platform) {
  if (!RunReported(platform, [&] { tool.Button1Click(); })) return RunOutcome::kStopped;
  if (!port.backup_timer) return RunOutcome::kRefused;
  if (!RunReported(platform, [&] { tool.Timer2Timer(); })) return RunOutcome::kStopped;
  if (!port.driver_timer) return RunOutcome::kBackupFailed;
  while (port.driver_timer) {
    if (!RunReported(platform, [&] { tool.Timer1Timer(); })) return RunOutcome::kStopped;
  }
  return tool.finished() ? RunOutcome::kDone : RunOutcome::kStopped;
}

}  // namespace dayledger
