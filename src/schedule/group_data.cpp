// The version stamp of group information, group and timetable files.
#include "schedule/group_data.h"

#include "platform/framework_error.h"
#include "schedule/stage_context.h"
#include "state/file_names.h"
#include "state/line_file.h"

namespace dayledger {
namespace {

// The folder is listed once, before any of its files is rewritten.
void StampFolder(const StageContext& ctx, const Path& folder, const std::string& code) {
  for (const std::string& name : ListQbdFiles(ctx.platform, folder))
    StampVersionLine(ctx.platform, folder / name, code);
}

}  // namespace

void UpgradeGroupData(const StageContext& ctx, const std::string& code) {
  const Path& user_dir = ctx.user.folder();
  StampVersionLine(ctx.platform, GroupInfoPath(user_dir), code);
  ctx.Note(StageNote::kGroupInformationDone);
  StampFolder(ctx, GroupsFolder(user_dir), code);
  StampFolder(ctx, TimetablesFolder(user_dir), code);
  ctx.Note(StageNote::kGroupsDone);
}

}  // namespace dayledger
