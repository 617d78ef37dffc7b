// The tool's chain of version steps, and the walk along a chain.
#include "floor/version_steps.h"

#include "anniversary/anniversary_stage.h"
#include "schedule/schedule_steps.h"

namespace dayledger {

VersionChain::VersionChain(std::vector<VersionStep> steps) : steps_(std::move(steps)) {}

const VersionChain& VersionChain::Standard() {
  static const VersionChain chain({
      {"10000", "10100", UpgradeSchedulesTo101, UpgradeAnniversariesTo101},
      {"10100", "10200", UpgradeSchedulesTo102, UpgradeAnniversariesTo102},
      {"10200", "10300", UpgradeSchedulesTo103, UpgradeAnniversariesTo103, true},
  });
  return chain;
}

std::optional<std::string> VersionChain::StepFrom(const std::string& code) const {
  for (const VersionStep& step : steps_) {
    if (code == step.from) return step.code;
  }
  return std::nullopt;
}

bool VersionChain::MergesMonthsFrom(const std::string& code) const {
  bool due = false;
  for (const VersionStep& step : steps_) {
    due = due || step.from == code;
    if (due && step.merges_months) return true;
  }
  return false;
}

}  // namespace dayledger
