// The 600 monthly schedule files, January 1980 to December 2029.
#pragma once

#include <functional>

namespace dayledger {

constexpr int kFirstScheduleYear = 1980;
constexpr int kLastScheduleYear = 2029;
constexpr int kScheduleMonthCount = (kLastScheduleYear - kFirstScheduleYear + 1) * 12;

struct StageContext;

// Visits every month in order; after each year's twelfth month logs
// " - <year>" + `year_suffix`.
void ForEachMonth(const StageContext& ctx, const char* year_suffix,
                  const std::function<void(int year, int month)>& visit);

}  // namespace dayledger
