// The schedule, group and timetable work of the three version steps: each
// does its step's work and stamps `code`, the version the step brings the
// data to, into the group and timetable files.
#pragma once

#include <string>

namespace dayledger {

struct StageContext;

void UpgradeSchedulesTo101(const StageContext& ctx, const std::string& code);
void UpgradeSchedulesTo102(const StageContext& ctx, const std::string& code);
void UpgradeSchedulesTo103(const StageContext& ctx, const std::string& code);

// Stamps `code` into line 1 of every monthly file, keeping each file's form.
void StampMonthlySchedules(const StageContext& ctx, const std::string& code);
// Gives the user schedules\repeat.qbsd from the template, in the user's form.
void CreateRepeatSchedule(const StageContext& ctx);
// Folds the monthly files into schedules\schedules.qbsd, stamped `code`,
// and deletes them.
void MergeMonthlySchedules(const StageContext& ctx, const std::string& code);

}  // namespace dayledger
