// The schedule, group and timetable work of the three version steps. Each
// Run...Step logs the step's first line, does its work, stamps the group and
// timetable files and moves StepVersion on.
#pragma once

#include <string>

namespace dayledger {

struct StageContext;

void RunScheduleStepTo101(const StageContext& ctx);
void RunScheduleStepTo102(const StageContext& ctx);
void RunScheduleStepTo103(const StageContext& ctx);

// Stamps `code` into line 1 of every monthly file, keeping each file's form.
void StampMonthlySchedules(const StageContext& ctx, const std::string& code);
// Gives the user schedules\repeat.qbsd from the template, in the user's form.
void CreateRepeatSchedule(const StageContext& ctx);
// Folds the monthly files into schedules\schedules.qbsd and deletes them.
void MergeMonthlySchedules(const StageContext& ctx);

}  // namespace dayledger
