// The anniversary work of the version steps: templates copied in, versions stamped.
#include "anniversary/anniversary_stage.h"

#include "platform/framework_error.h"
#include "schedule/stage_context.h"
#include "state/file_names.h"
#include "state/line_file.h"

namespace dayledger {

void CopyAnniversaryTemplates(const StageContext& ctx) {
  IgnoreFailure(ctx.platform.CreateDirectory(AnniversaryFolder(ctx.user.folder())),
                "or it is there already; the copies into it say when it is not");
  int done = 0;
  for (const std::string& name : kAnniversaryCopyOrder) {
    const Path source = TemplatePath(ctx.app_dir, name);
    // A template that did not arrive must not leave the user's older file to
    // be stamped as if it had.
    CopyFileOrThrow(ctx.platform, source, AnniversaryFolder(ctx.user.folder()) / name);
    ctx.observer.Progress(LongWork::kAnniversaries, ++done, 4);
  }
}

void StampAnniversaryFiles(const StageContext& ctx, const std::string& code) {
  int done = 0;
  for (const std::string& name : kAnniversaryRewriteOrder) {
    const Path path = AnniversaryFolder(ctx.user.folder()) / name;
    StampVersionLine(ctx.platform, path, code);
    ctx.observer.Progress(LongWork::kAnniversaries, ++done, 4);
  }
}

void UpgradeAnniversariesTo101(const StageContext& ctx, const std::string& /*code*/) {
  // The templates arrive with their own version line; the later steps stamp it.
  CopyAnniversaryTemplates(ctx);
  ctx.Note(StageNote::kAnniversariesCopied);
}

void UpgradeAnniversariesTo102(const StageContext& ctx, const std::string& code) {
  StampAnniversaryFiles(ctx, code);
  ctx.Note(StageNote::kAnniversariesDone);
}

void UpgradeAnniversariesTo103(const StageContext& ctx, const std::string& code) {
  StampAnniversaryFiles(ctx, code);
  ctx.Note(StageNote::kAnniversariesDone);
}

}  // namespace dayledger
