#include "anniversary/anniversary_stage.h"
#include "platform/framework_error.h"
#include "platform/line_file.h"
#include "schedule/schedule_steps.h"
#include "state/version_code.h"
#include "upgrade/texts.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {
namespace {

constexpr UpgradeTool::Step kScheduleSteps[3] = {RunScheduleStepTo101, RunScheduleStepTo102,
                                                 RunScheduleStepTo103};
constexpr UpgradeTool::Step kAnniversarySteps[3] = {
    RunAnniversaryStepTo101, RunAnniversaryStepTo102, RunAnniversaryStepTo103};
const char* const kStepCodes[3] = {"10100", "10200", "10300"};

}  // namespace

void UpgradeTool::Timer1Timer() {
  // Disarmed first: an error ends the tick and with it the upgrade.
  port_.SetDriverTimer(false);
  LineList scratch;
  const StageContext ctx{platform_, state_, *this, scratch};
  switch (state_.UpgradeState) {
    case -1:
      ReadProfileStage();
      break;
    case 0:
      RunSteps(ctx, kScheduleSteps, 1, "일정 데이터 업그레이드 전체 완료.");
      break;
    case 1:
      AnniversaryDetectionStage(ctx);
      break;
    case 2:
      RunSteps(ctx, kAnniversarySteps, 3, "기념일 데이터 업그레이드 전체 완료.");
      break;
    case 3:
      SaveProfileStage();
      break;
    default:
      break;
  }
}

std::string UpgradeTool::FirstStepOrThrow(const std::string& code) {
  // The start checks refuse such a profile; one changed on disk since then
  // must not be stamped "10300" with nothing converted.
  const auto step = FirstStepFor(code);
  if (!step) throw FrameworkError(platform_.Utf8ToCp949(texts::kUnsupportedVersion));
  return *step;
}

void UpgradeTool::ReadProfileStage() {
  ReadLines(platform_, ProfilePath(), &state_.ProfileLines);
  AddLog("일정 데이터 업그레이드를 시작합니다.");
  const std::string& code = state_.ProfileLines.Get(1);
  state_.StepVersion = FirstStepOrThrow(code);
  AddLog("* 현재 버전 : " + ShownVersion(code));
  AddLog("* 업그레이드 버전 : " + ShownVersion(state_.TargetVersion));
  state_.UpgradeState = 0;
  port_.SetDriverTimer(true);
}

void UpgradeTool::AnniversaryDetectionStage(const StageContext& ctx) {
  DetectAnniversaryVersion(ctx);
  state_.UpgradeState = 2;
  port_.SetDriverTimer(true);
}

void UpgradeTool::RunSteps(const StageContext& ctx, const Step (&steps)[3], int next_state,
                           const char* done_line) {
  for (int i = 0; i < 3; ++i) {
    if (state_.StepVersion == kStepCodes[i]) steps[i](ctx);
    platform_.ProcessMessages();
  }
  if (state_.StepVersion == "10301") {
    state_.UpgradeState = next_state;
    AddLog(done_line);
  }
  port_.SetDriverTimer(true);
}

void UpgradeTool::SaveProfileStage() {
  AddLog("업그레이드 정보를 사용자 정보에 저장중입니다.");
  state_.ProfileLines.Replace(1, state_.TargetVersion);
  WriteLines(platform_, ProfilePath(), state_.ProfileLines);
  AddLog("업그레이드 완료!");
  Message(texts::kUpgradeDone, kMbInformation);
  port_.SetInputEnabled(true);
  ListBox1Click();
}

}  // namespace dayledger
