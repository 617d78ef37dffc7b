// The version steps of the upgrade, in order, in one table: the code each
// brings the data to and the work each stage does for it. The driver logs a
// step's first line and moves StepVersion on; the work does the rest.
#pragma once

#include <optional>
#include <string>

#include "anniversary/anniversary_stage.h"
#include "schedule/schedule_steps.h"
#include "schedule/stage_context.h"
#include "state/version_code.h"

namespace dayledger {

// One stage's work for a step, given the version the step brings the data to.
using StageWork = void (*)(const StageContext&, const std::string& code);

struct VersionStep {
  const char* from;  // the data version the step starts from
  const char* code;  // the data version it brings the data to
  StageWork schedule;
  StageWork anniversary;
};

inline constexpr VersionStep kVersionSteps[] = {
    {"10000", "10100", UpgradeSchedulesTo101, UpgradeAnniversariesTo101},
    {"10100", "10200", UpgradeSchedulesTo102, UpgradeAnniversariesTo102},
    {"10200", "10300", UpgradeSchedulesTo103, UpgradeAnniversariesTo103},
};

// The first step due for a data version this tool upgrades from.
inline std::optional<std::string> FirstStepFor(const std::string& code) {
  for (const VersionStep& step : kVersionSteps) {
    if (code == step.from) return step.code;
  }
  return std::nullopt;
}

}  // namespace dayledger
