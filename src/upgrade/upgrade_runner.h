// Runs one upgrade from the start button to the last stage without a
// message loop: the ticks follow one another as soon as each is armed.
#pragma once

#include <optional>

#include "platform/framework_error.h"
#include "platform/platform.h"
#include "upgrade/headless_port.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

enum class RunOutcome {
  kRefused,       // a start check said no (its message was shown)
  kBackupFailed,  // the backup copy failed (its message was shown)
  kStopped,       // an error ended a tick (shown by the error report)
  kDone,
};

// `error`, when given, receives the error that stopped the run.
RunOutcome RunUpgrade(UpgradeTool& tool, HeadlessPort& port, Platform& platform,
                      std::optional<FrameworkError>* error = nullptr);

}  // namespace dayledger
