// What a window does with the core's replies, the same for every window:
// fills the list and the labels, shows the notices, enables the input and
// arms the timers. A window's handlers call one method each.
#pragma once

#include <string>
#include <vector>

#include "floor/installation.h"
#include "floor/said.h"
#include "platform/platform.h"
#include "presenter/message_boxes.h"
#include "upgrade/upgrade_port.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

// How long a window waits before the backup, and between two stages.
constexpr int kBackupDelayMs = 1000;
constexpr int kStageDelayMs = 100;

// Whether the installation opened for a window. When what an interrupted
// change left could not be finished, an error box says where, and no
// window is made: the person closes what holds the file and starts again.
bool OpenedForWindow(const OpenedInstallation& opened, MessageBoxes& boxes);

// A window's controls and timers, as the flow sets and reads them.
class WindowView : public UpgradePort {
 public:
  // User list (ListBox1).
  virtual void ClearUsers() = 0;
  virtual void AddUser(const std::string& name) = 0;
  virtual void SelectUser(int index) = 0;  // from code: not a click
  virtual int SelectedUser() = 0;          // -1 when nothing is selected

  // User details (Label9, Label10, Label11) and the password box (Edit1).
  virtual void SetUserLabel(const std::string& text) = 0;
  virtual void SetEncryptionLabel(const std::string& text) = 0;
  virtual void SetVersionLabel(const std::string& text) = 0;
  // The version the upgrade brings the data to (Label13).
  virtual void SetTargetVersionLabel(const std::string& text) = 0;
  virtual void SetPasswordEnabled(bool enabled) = 0;
  virtual std::string Password() = 0;
  virtual void SelectPasswordAndFocus() = 0;

  // Panel1, Button1 and Button2 together.
  virtual void SetInputEnabled(bool enabled) = 0;
  virtual bool SkipBackupChecked() = 0;  // CheckBox1

  virtual void SetBackupTimer(bool enabled) = 0;  // Timer2, kBackupDelayMs
  virtual void SetDriverTimer(bool enabled) = 0;  // Timer1, kStageDelayMs
};

class WindowFlow {
 public:
  // `opening_notes`: what opening the installation finished or undid,
  // told before any user is shown. The upgrade walks `chain`, whose target
  // the window shows.
  WindowFlow(Installation& installation, WindowView& view, MessageBoxes& boxes,
             std::vector<Said> opening_notes = {},
             const VersionChain& chain = VersionChain::Standard());

  // Each returns the core's reply it acted on.
  Reply Open();          // tells the opening's notes, fills the list, shows its first user
  Reply UserClicked();   // shows the selected user
  Reply StartClicked();  // the start checks; arms the backup
  Reply BackupTick();    // the backup; arms the stages
  Reply StageTick();     // one stage; arms the next

 private:
  // The reply's view, then its messages, worded, in boxes.
  void Show(const Reply& reply);
  void Arm(Next next);

  Installation& installation_;
  WindowView& view_;
  MessageBoxes& boxes_;
  std::vector<Said> opening_notes_;
  const VersionChain& chain_;
  UpgradeTool tool_;
};

}  // namespace dayledger
