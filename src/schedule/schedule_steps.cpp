// The schedule work of the version steps: stamps, the repeating schedule,
// and the merge of the monthly files.
#include "schedule/schedule_steps.h"

#include <cstdint>

#include "platform/framework_error.h"
#include "schedule/group_data.h"
#include "schedule/monthly_files.h"
#include "schedule/schedule_file.h"
#include "schedule/stage_context.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "state/version_code.h"

namespace dayledger {
namespace {

// A month with its first `head_lines` lines apart: the steps change no more.
SchClass OpenMonth(const StageContext& ctx, int year, int month, size_t head_lines) {
  return ctx.user.Month(ctx.platform, ctx.app_dir, year, month, head_lines);
}

}  // namespace

void StampMonthlySchedules(const StageContext& ctx, const std::string& code) {
  ForEachMonth(ctx, StageNote::kYearStamped, [&](int year, int month) {
    SchClass schedule = OpenMonth(ctx, year, month, 2);
    schedule.Lines.Replace(1, code);
    schedule.Save();
  });
}

void CreateRepeatSchedule(const StageContext& ctx) {
  const Path source = TemplatePath(ctx.app_dir, kRepeatScheduleName);
  const Path target = RepeatSchedulePath(ctx.user.folder());
  // Going on with an older repeat.qbsd could encipher it a second time, so
  // a copy that fails stops the step before anything of the user's is read.
  CopyFileOrThrow(ctx.platform, source, target);
  SchRepClass repeat = ctx.user.PlainRepeat(ctx.platform, ctx.app_dir);
  repeat.SetEncrypted(ctx.user.encrypted());
  repeat.Save();
}

void MergeMonthlySchedules(const StageContext& ctx, const std::string& code) {
  ScheduleText merged = ctx.user.NewText();
  uint32_t total = 0;  // a signed 32-bit sum that wraps like the scheduler's
  // Each month joins the merged text in the form it is saved in and leaves
  // the staged folder at once, so the data is held about once. The stages
  // change only the staged view: a failure part-way loses no month.
  ForEachMonth(ctx, StageNote::kYearLoaded, [&](int year, int month) {
    SchClass schedule = OpenMonth(ctx, year, month, 3);
    LineList& lines = schedule.Lines;
    lines.Delete(0);  // header
    lines.Delete(0);  // version line
    total += static_cast<uint32_t>(StrToInt(lines, 0));
    lines.Delete(0);  // entry count
    merged.Add(schedule.TakeText());
    ThrowIfFailed(ctx.platform.DeleteFile(schedule.path()));
  });
  const std::vector<std::string> header = {kScheduleHeader, code,
                                           std::to_string(static_cast<int32_t>(total))};
  WriteFileOrThrow(ctx.platform, MergedSchedulePath(ctx.user.folder()),
                   ctx.user.Take(merged, header));
  ctx.Note(StageNote::kSchedulesMerged);
}

void UpgradeSchedulesTo101(const StageContext& ctx, const std::string& code) {
  StampMonthlySchedules(ctx, code);
  UpgradeGroupData(ctx, code);
}

void UpgradeSchedulesTo102(const StageContext& ctx, const std::string& code) {
  CreateRepeatSchedule(ctx);
  ctx.Note(StageNote::kRepeatCreated);
  StampMonthlySchedules(ctx, code);
  UpgradeGroupData(ctx, code);
}

void UpgradeSchedulesTo103(const StageContext& ctx, const std::string& code) {
  MergeMonthlySchedules(ctx, code);
  UpgradeGroupData(ctx, code);
}

}  // namespace dayledger
