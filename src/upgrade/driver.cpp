// UpgradeTool's stages: the driver tick runs the stage UpgradeState names,
// through the version steps due, and the last stage commits everything.
#include "commit/commit.h"
#include "floor/version_steps.h"
#include "floor/words.h"
#include "platform/framework_error.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "state/version_code.h"
#include "texts/texts.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

Reply UpgradeTool::RunStage() {
  return Recorded(Guarded([this]() -> Reply {
    const StageContext ctx{Staged(), state_.AppDir, user_, *this};
    switch (state_.UpgradeState) {
      case Stage::kReadProfile:
        ReadProfileStage();
        break;
      case Stage::kSchedule:
        RunSteps(ctx, &VersionStep::schedule, Say::kScheduleData, Stage::kAnniversaryDetection);
        break;
      case Stage::kAnniversaryDetection:
        DetectAnniversaryVersion();
        break;
      case Stage::kAnniversary:
        RunSteps(ctx, &VersionStep::anniversary, Say::kAnniversaryData, Stage::kSaveProfile);
        break;
      case Stage::kSaveProfile:
        return SaveProfileStage();
    }
    Reply reply;
    reply.next = Next::kStage;
    return reply;
  }));
}

void UpgradeTool::ReadProfileStage() {
  state_.UserProfile = Profile::Read(Staged(), state_.UserDir());
  AddLog(Say::kLogSchedulesStarting);
  const std::string& code = state_.UserProfile.Version();
  // The start checks refuse such a profile; one changed on disk since then
  // must not be stamped with the new version with nothing converted.
  const auto step = chain_.StepFrom(code);
  if (!step) {
    throw FrameworkError(Words(Say::kUnsupportedVersion), StatusKind::kOther,
                         ProfilePath(state_.UserDir()));
  }
  state_.StepVersion = *step;
  AddLog(Say::kLogCurrentVersion, ShownVersion(code));
  AddLog(Say::kLogTargetVersion, ShownVersion(state_.TargetVersion));
  state_.UpgradeState = Stage::kSchedule;
}

void UpgradeTool::DetectAnniversaryVersion() {
  AddLog(Say::kLogAnniversariesStarting);
  const std::string& code = state_.UserProfile.Version();
  if (const auto step = chain_.StepFrom(code)) {
    // A 1.00 user has no anniversary data yet.
    if (code == kFirstVersion) {
      AddLog(Say::kLogNoAnniversaryVersion);
    } else {
      AddLog(Say::kLogCurrentVersion, ShownVersion(code));
    }
    state_.StepVersion = *step;
  }
  AddLog(Say::kLogTargetVersion, ShownVersion(state_.TargetVersion));
  state_.UpgradeState = Stage::kAnniversary;
}

void UpgradeTool::RunSteps(const StageContext& ctx, StageWork VersionStep::*work, Say data,
                           Stage next_stage) {
  for (const VersionStep& step : chain_.steps()) {
    if (state_.StepVersion == step.code) {
      Said starting(Say::kLogStepStarting);
      starting.about = data;
      starting.items = {ShownVersion(step.code)};
      AddLog(starting);
      (step.*work)(ctx, step.code);
      // Past the last step no step is due.
      state_.StepVersion = chain_.StepFrom(step.code).value_or("");
    }
    // The window catches up after each step's slot.
    port_.ProcessMessages();
  }
  if (state_.StepVersion.empty()) {
    state_.UpgradeState = next_stage;
    Said done(Say::kLogAllStepsDone);
    done.about = data;
    AddLog(done);
  }
}

Platform& UpgradeTool::Staged() {
  if (!staged_) staged_ = std::make_unique<OverlayPlatform>(&platform_);
  return *staged_;
}

Reply UpgradeTool::SaveProfileStage() {
  AddLog(Say::kLogSavingProfile);
  state_.UserProfile.SetVersion(state_.TargetVersion);
  WriteLines(Staged(), ProfilePath(state_.UserDir()), state_.UserProfile.lines());
  // Everything the stages changed reaches the user's folder here, at once.
  const std::vector<Path> undeleted = CommitChanges(platform_, state_.UserDir(), *staged_);
  // Their entries are in the merged file; only the file itself stays behind.
  for (const Path& path : undeleted)
    AddLog(Said(Say::kLogUndeleted, NoticeKind::kInformation, path));
  AddLog(Say::kLogUpgradeDone);
  Reply reply;
  reply.finished = true;
  reply.said.push_back({Say::kUpgradeDone});
  return reply;
}

}  // namespace dayledger
