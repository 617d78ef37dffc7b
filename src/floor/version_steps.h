// The version steps of the upgrade, in order, in one table: the version each
// starts from, the one it brings the data to, the work each stage does for
// it and whether it merges the monthly schedule files into one. The target
// version, the driver's walk, verify and the space estimate all follow it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "schedule/stage_context.h"

namespace dayledger {

// One stage's work for a step, given the version the step brings the data to.
using StageWork = void (*)(const StageContext&, const std::string& code);

struct VersionStep {
  std::string from;  // the data version the step starts from
  std::string code;  // the data version it brings the data to
  StageWork schedule;
  StageWork anniversary;
  bool merges_months = false;  // the monthly files become schedules\schedules.qbsd
};

class VersionChain {
 public:
  // Steps in order, each starting from the version the one before brings
  // the data to; at least one.
  explicit VersionChain(std::vector<VersionStep> steps);
  // The tool's own chain: 1.00 to 1.01 to 1.02 to 1.03.
  static const VersionChain& Standard();

  const std::vector<VersionStep>& steps() const { return steps_; }
  // The version the last step brings the data to.
  const std::string& target() const { return steps_.back().code; }
  // The code of the step due for data at `code`; nullopt for the target
  // and for a version no step starts from.
  std::optional<std::string> StepFrom(const std::string& code) const;
  // Whether a step due for data at `code`, or one after it, merges the
  // monthly files: such data still keeps its schedules month by month.
  bool MergesMonthsFrom(const std::string& code) const;

 private:
  std::vector<VersionStep> steps_;
};

}  // namespace dayledger
