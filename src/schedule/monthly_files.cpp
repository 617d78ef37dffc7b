// The walk over the 600 monthly schedule files, with a note after each year.
#include "schedule/monthly_files.h"

#include <string>

#include "schedule/stage_context.h"

namespace dayledger {

void ForEachMonth(const StageContext& ctx, StageNote year_done,
                  const std::function<void(int year, int month)>& visit) {
  int done = 0;
  for (int year = kFirstScheduleYear; year <= kLastScheduleYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      visit(year, month);
      ctx.observer.Progress(LongWork::kSchedules, ++done, kScheduleMonthCount);
    }
    ctx.observer.Note(year_done, year);
  }
}

}  // namespace dayledger
