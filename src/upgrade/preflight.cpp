#include "upgrade/preflight.h"

#include <algorithm>

#include "platform/line_file.h"
#include "platform/overlay_platform.h"
#include "schedule/schedule_file.h"
#include "upgrade/error_report.h"
#include "upgrade/upgrade_runner.h"

namespace dayledger {
namespace {

// Every message the run shows is kept instead of shown. A dry run changes
// nothing on the disk, so it needs no lock and leaves no lock file.
class QuietOverlay : public OverlayPlatform {
 public:
  using OverlayPlatform::OverlayPlatform;
  LockResult LockFile(const std::string& /*path*/, std::unique_ptr<FileLock>* lock) override {
    *lock = std::make_unique<FileLock>();
    return LockResult::kLocked;
  }
  int MessageBox(const std::string& text, const std::string& /*caption*/, int flags) override {
    messages.push_back(text);
    return flags == kMbQuestionYesNo ? kIdYes : 1;
  }
  void ProcessMessages() override {}
  std::vector<std::string> messages;
};

// Enough rounds for every file of a user to fail once.
constexpr int kMaxRounds = 2000;

// Stands in for a broken file so the next run can look past it: an empty
// month in the user's form, or a two-line file with a version line.
std::string Substitute(const std::string& path, const UnitState& state) {
  const bool user_schedule = path.find("\\schedules\\") != std::string::npos;
  LineList lines(std::vector<std::string>{"#schedule data#", "10000", "0"});
  return EncodeScheduleLines(lines, user_schedule && state.Encrypted,
                             MakeScheduleKey(state.DataKey));
}

}  // namespace

PreflightResult CheckUser(Platform& platform, const std::string& app_dir, int user_index,
                          const std::string& password) {
  PreflightResult result;
  QuietOverlay overlay(&platform);
  for (int round = 0; round < kMaxRounds; ++round) {
    overlay.ResetWrites();
    overlay.messages.clear();
    HeadlessPort port;
    port.password = password;
    UpgradeTool tool(overlay, port, app_dir);
    bool listed = false;
    RunReported(overlay, [&] { listed = tool.FillUserList(); });
    port.selected = user_index;
    if (!listed || !RunReported(overlay, [&] { tool.ListBox1Click(); }) ||
        !overlay.messages.empty()) {
      result.problems.push_back({platform.Cp949ToUtf8(overlay.last_path()),
                                 overlay.messages.empty() ? "" : overlay.messages.back()});
      return result;
    }
    std::optional<FrameworkError> stopped_by;
    const RunOutcome outcome = RunUpgrade(tool, port, overlay, &stopped_by);
    if (outcome == RunOutcome::kDone) return result;
    if (outcome != RunOutcome::kStopped) {
      result.refusals = overlay.messages;
      return result;
    }
    // Inside the stages the tool's own view of the disk saw the last read.
    const std::string staged_path = tool.LastStagedPath();
    const std::string path = staged_path.empty() ? overlay.last_path() : staged_path;
    const std::string error = overlay.messages.empty() ? "" : overlay.messages.back();
    const std::string shown_path = platform.Cp949ToUtf8(path);
    const bool seen = std::any_of(result.problems.begin(), result.problems.end(),
                                  [&](const PreflightProblem& p) { return p.path == shown_path; });
    result.problems.push_back({shown_path, error});
    if (seen) return result;  // the stand-in did not help: nothing more to learn
    if (stopped_by && stopped_by->kind() == ErrorKind::kCannotOpenFolder) {
      overlay.SubstituteEmptyFolder(path);
    } else {
      overlay.Substitute(path, Substitute(path, tool.state()));
    }
  }
  return result;
}

}  // namespace dayledger
