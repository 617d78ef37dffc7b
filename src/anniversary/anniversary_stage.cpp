#include "anniversary/anniversary_stage.h"

#include "platform/framework_error.h"
#include "platform/line_file.h"
#include "state/stage_context.h"
#include "state/version_code.h"

namespace dayledger {
namespace {

std::string AnniversaryFolder(const UnitState& s) { return s.UserDir() + "\\anniversary"; }

}  // namespace

void DetectAnniversaryVersion(const StageContext& ctx) {
  UnitState& s = ctx.state;
  ctx.Log("기념일 데이터 업그레이드를 시작합니다.");
  const std::string& code = s.ProfileLines.Get(1);
  if (const auto step = FirstStepFor(code)) {
    // A 1.00 user has no anniversary data yet.
    ctx.Log(code == "10000" ? "* 현재 버전 : (기념일 데이터 정보 없음)"
                            : "* 현재 버전 : " + ShownVersion(code));
    s.StepVersion = *step;
  }
  ctx.Log("* 업그레이드 버전 : " + ShownVersion(s.TargetVersion));
}

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

void RunAnniversaryStepTo101(const StageContext& ctx) {
  ctx.Log("* 기념일 데이터 : v 1.01.00로의 업그레이드 시작.");
  CopyAnniversaryTemplates(ctx);
  ctx.Log(" - 기념일 데이터 복사 완료.");
  ctx.state.StepVersion = "10200";
}

void RunAnniversaryStepTo102(const StageContext& ctx) {
  ctx.Log("* 기념일 데이터 : v 1.02.00로의 업그레이드 시작.");
  StampAnniversaryFiles(ctx, "10200");
  ctx.Log(" - 기념일 데이터 업그레이드 완료.");
  ctx.state.StepVersion = "10300";
}

void RunAnniversaryStepTo103(const StageContext& ctx) {
  ctx.Log("* 기념일 데이터 : v 1.03.00로의 업그레이드 시작.");
  StampAnniversaryFiles(ctx, "10300");
  ctx.Log(" - 기념일 데이터 업그레이드 완료.");
  ctx.state.StepVersion = kAllStepsDone;
}

}  // namespace dayledger
