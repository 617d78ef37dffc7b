// The 600 monthly schedule files, January 1980 to December 2029.
#pragma once

#include <functional>

namespace dayledger {

constexpr int kFirstScheduleYear = 1980;
constexpr int kLastScheduleYear = 2029;
constexpr int kScheduleMonthCount = (kLastScheduleYear - kFirstScheduleYear + 1) * 12;

struct StageContext;
enum class StageNote;

// Visits every month in order; after each year's twelfth month notes
// `year_done` with the year.
void ForEachMonth(const StageContext& ctx, StageNote year_done,
                  const std::function<void(int year, int month)>& visit);

}  // namespace dayledger
