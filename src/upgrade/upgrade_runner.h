// Runs one upgrade from the start checks to the last stage without a
// message loop: each verb follows the one before as soon as its reply says
// it is due.
#pragma once

#include <optional>

#include "platform/framework_error.h"
#include "upgrade/notice.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

enum class RunOutcome {
  kRefused,       // a start check said no (its message was shown)
  kBackupFailed,  // the backup copy failed (its message was shown)
  kStopped,       // an error ended a verb (shown by the error report)
  kDone,
};

// What a run came to, from the last reply of its verbs.
RunOutcome OutcomeOf(const Reply& last);

// The start checks; their question is asked in `boxes`, and a yes runs them
// again with it answered. The reply's notices are not yet shown.
Reply StartAsking(UpgradeTool& tool, StartRequest request, MessageBoxes& boxes);

// Runs the upgrade of the user the tool shows, showing every notice in
// `boxes`. `error`, when given, receives the error that stopped the run.
RunOutcome RunUpgrade(UpgradeTool& tool, const StartRequest& request, MessageBoxes& boxes,
                      std::optional<FrameworkError>* error = nullptr);

}  // namespace dayledger
