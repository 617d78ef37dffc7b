// The walk over the 600 monthly schedule files, with its year log lines.
#include "schedule/monthly_files.h"

#include <string>

#include "schedule/stage_context.h"
#include "texts/texts.h"

namespace dayledger {

void ForEachMonth(const StageContext& ctx, const char* year_suffix,
                  const std::function<void(int year, int month)>& visit) {
  int done = 0;
  for (int year = kFirstScheduleYear; year <= kLastScheduleYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      visit(year, month);
      ctx.observer.Progress(texts::kProgressSchedules, ++done, kScheduleMonthCount);
    }
    ctx.Log(" - " + std::to_string(year) + year_suffix);
  }
}

}  // namespace dayledger
