#include "anniversary/anniversary_stage.h"

#include "platform/framework_error.h"
#include "platform/line_file.h"
#include "state/stage_context.h"

namespace dayledger {
namespace {

std::string AnniversaryFolder(const UnitState& s) { return s.UserDir() + "\\anniversary"; }

}  // namespace

void CopyAnniversaryTemplates(const StageContext& ctx) {
  const UnitState& s = ctx.state;
  ctx.platform.CreateDirectory(AnniversaryFolder(s));
  int done = 0;
  for (const std::string& name : kAnniversaryCopyOrder) {
    const std::string source = s.AppDir + "\\data\\userscommon\\" + name;
    // A template that did not arrive must not leave the user's older file to
    // be stamped as if it had.
    CopyFileOrThrow(ctx.platform, source, AnniversaryFolder(s) + "\\" + name);
    ctx.observer.Progress("기념일 데이터", ++done, 4);
  }
}

void StampAnniversaryFiles(const StageContext& ctx, const std::string& code) {
  int done = 0;
  for (const std::string& name : kAnniversaryRewriteOrder) {
    const std::string path = AnniversaryFolder(ctx.state) + "\\" + name;
    ReadLines(ctx.platform, path, &ctx.scratch);
    ctx.scratch.Replace(1, code);
    WriteLines(ctx.platform, path, ctx.scratch);
    ctx.observer.Progress("기념일 데이터", ++done, 4);
  }
}

void UpgradeAnniversariesTo101(const StageContext& ctx) {
  CopyAnniversaryTemplates(ctx);
  ctx.Log(" - 기념일 데이터 복사 완료.");
}

void UpgradeAnniversariesTo102(const StageContext& ctx) {
  StampAnniversaryFiles(ctx, "10200");
  ctx.Log(" - 기념일 데이터 업그레이드 완료.");
}

void UpgradeAnniversariesTo103(const StageContext& ctx) {
  StampAnniversaryFiles(ctx, "10300");
  ctx.Log(" - 기념일 데이터 업그레이드 완료.");
}

}  // namespace dayledger
