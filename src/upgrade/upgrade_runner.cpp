#include "upgrade/upgrade_runner.h"

#include "upgrade/error_report.h"

namespace dayledger {

RunOutcome RunUpgrade(UpgradeTool& tool, HeadlessPort& port, Platform& platform,
                      std::optional<FrameworkError>* error) {
  if (!RunReported(
          platform, [&] { tool.Button1Click(); }, error))
    return RunOutcome::kStopped;
  if (!port.backup_timer) return RunOutcome::kRefused;
  if (!RunReported(
          platform, [&] { tool.Timer2Timer(); }, error))
    return RunOutcome::kStopped;
  if (!port.driver_timer) return RunOutcome::kBackupFailed;
  while (port.driver_timer) {
    if (!RunReported(
            platform, [&] { tool.Timer1Timer(); }, error))
      return RunOutcome::kStopped;
  }
  return tool.finished() ? RunOutcome::kDone : RunOutcome::kStopped;
}

}  // namespace dayledger
