#include "anniversary/anniversary_stage.h"
#include "commit/commit.h"
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
  const StageContext ctx{Staged(), state_, *this, scratch};
  switch (state_.UpgradeState) {
    case kStageReadProfile:
      ReadProfileStage();
      break;
    case kStageSchedule:
      RunSteps(ctx, kScheduleSteps, kStageAnniversaryDetection,
               "일정 데이터 업그레이드 전체 완료.");
      break;
    case kStageAnniversaryDetection:
      AnniversaryDetectionStage(ctx);
      break;
    case kStageAnniversary:
      RunSteps(ctx, kAnniversarySteps, kStageSaveProfile, "기념일 데이터 업그레이드 전체 완료.");
      break;
    case kStageSaveProfile:
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
  ReadLines(Staged(), ProfilePath(), &state_.ProfileLines);
  AddLog("일정 데이터 업그레이드를 시작합니다.");
  const std::string& code = state_.ProfileLines.Get(1);
  state_.StepVersion = FirstStepOrThrow(code);
  AddLog("* 현재 버전 : " + ShownVersion(code));
  AddLog("* 업그레이드 버전 : " + ShownVersion(state_.TargetVersion));
  state_.UpgradeState = kStageSchedule;
  port_.SetDriverTimer(true);
}

void UpgradeTool::AnniversaryDetectionStage(const StageContext& ctx) {
  DetectAnniversaryVersion(ctx);
  state_.UpgradeState = kStageAnniversary;
  port_.SetDriverTimer(true);
}

void UpgradeTool::RunSteps(const StageContext& ctx, const Step (&steps)[3], int next_state,
                           const char* done_line) {
  for (int i = 0; i < 3; ++i) {
    if (state_.StepVersion == kStepCodes[i]) steps[i](ctx);
    platform_.ProcessMessages();
  }
  if (state_.StepVersion == kAllStepsDone) {
    state_.UpgradeState = next_state;
    AddLog(done_line);
  }
  port_.SetDriverTimer(true);
}

Platform& UpgradeTool::Staged() {
  if (!staged_) staged_ = std::make_unique<OverlayPlatform>(&platform_);
  return *staged_;
}

void UpgradeTool::SaveProfileStage() {
  AddLog("업그레이드 정보를 사용자 정보에 저장중입니다.");
  state_.ProfileLines.Replace(1, state_.TargetVersion);
  WriteLines(Staged(), ProfilePath(), state_.ProfileLines);
  // Everything the stages changed reaches the user's folder here, at once.
  const std::vector<std::string> undeleted = CommitChanges(platform_, state_.UserDir(), *staged_);
  staged_.reset();
  lock_.reset();
  finished_ = true;
  // Their entries are in the merged file; only the file itself stays behind.
  for (const std::string& path : undeleted)
    AddLog(" - 삭제하지 못한 파일 : " + platform_.Cp949ToUtf8(path));
  AddLog("업그레이드 완료!");
  Message(texts::kUpgradeDone, kMbInformation);
  port_.SetInputEnabled(true);
  ListBox1Click();
}

}  // namespace dayledger
