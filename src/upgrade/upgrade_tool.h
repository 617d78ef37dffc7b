// The upgrade itself, free of any window: the user list and profile, the
// start checks, the backup tick and the staged driver. The window's handlers
// and the terminal program both forward to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/overlay_platform.h"
#include "platform/platform.h"
#include "state/stage_context.h"
#include "state/unit_state.h"
#include "upgrade/upgrade_port.h"

namespace dayledger {

class UpgradeTool : public StageObserver {
 public:
  using Step = void (*)(const StageContext&);

  // `app_dir` ends in a backslash.
  UpgradeTool(Platform& platform, UpgradePort& port, const std::string& app_dir);

  // Fills the user list and selects the first user.
  void FormCreate();
  // Fills the user list alone; false (its message shown) when there is none.
  // A front end that names its user needs no other user's profile.
  bool FillUserList();
  // Shows the selected user's name, encryption and data version.
  void ListBox1Click();
  // The start checks; on success the backup tick is armed.
  void Button1Click();
  // The backup tick.
  void Timer2Timer();
  // The driver tick: runs the stage UpgradeState names.
  void Timer1Timer();
  // Copies the folder `from` into `to`; 0 on success.
  int CopyFolder(const std::string& from, const std::string& to);

  // "[hh:mm:ss]" + text into the progress log.
  void AddLog(const std::string& text) override;
  void Progress(const std::string& what, int done, int total) override;

  // Shows a message box with the application title as caption.
  int Message(const std::string& text, int flags);

  UnitState& state() { return state_; }
  // Whether the last upgrade reached the disk as a whole.
  bool finished() const { return finished_; }
  // The last path the stages read or listed; empty before they start.
  std::string LastStagedPath() const { return staged_ ? staged_->last_path() : std::string(); }

 private:
  std::string ProfilePath() const;
  // The view of the disk the stages work on: their changes stay in memory
  // until the profile stage commits them all.
  Platform& Staged();
  void ReadProfileStage();
  void AnniversaryDetectionStage(const StageContext& ctx);
  // Runs the due steps of one stage in order, letting the window catch up
  // after each; all done moves the driver to `next_state`.
  void RunSteps(const StageContext& ctx, const Step (&steps)[3], int next_state,
                const char* done_line);
  void SaveProfileStage();
  // The first step for the profile's code; an unknown code stops the upgrade.
  std::string FirstStepOrThrow(const std::string& code);

  Platform& platform_;
  UpgradePort& port_;
  UnitState state_;
  std::vector<std::string> user_names_;  // CP949, parallel to the list's items
  std::unique_ptr<OverlayPlatform> staged_;
  // Held from the start checks until the commit, or until the tool goes.
  std::unique_ptr<FileLock> lock_;
  bool finished_ = false;
};

// The directory part of the executable's path, trailing backslash included.
std::string AppDirFromExecutable(const std::string& executable_path);

// A user name becomes a folder name: one that leads outside users\ is unsafe.
bool IsSafeUserName(const std::string& name);

}  // namespace dayledger
