// What the upgrade needs from a front end: the window's controls and timers,
// or their stand-ins in a terminal program. Texts are UTF-8.
#pragma once

#include <string>

namespace dayledger {

class UpgradePort {
 public:
  virtual ~UpgradePort() = default;

  // Progress log (Memo1): one finished line, time stamp included.
  virtual void AppendLogLine(const std::string& line) = 0;
  // Long stage work: `done` of `total` units.
  virtual void ShowProgress(const std::string& /*what*/, int /*done*/, int /*total*/) {}

  // User list (ListBox1).
  virtual void ClearUsers() = 0;
  virtual void AddUser(const std::string& name) = 0;
  virtual void SelectUser(int index) = 0;
  virtual int SelectedUser() = 0;  // -1 when nothing is selected

  // User details (Label9, Label10, Label11) and the password box (Edit1).
  virtual void SetUserLabel(const std::string& text) = 0;
  virtual void SetEncryptionLabel(const std::string& text) = 0;
  virtual void SetVersionLabel(const std::string& text) = 0;
  virtual void SetPasswordEnabled(bool enabled) = 0;
  virtual std::string Password() = 0;
  virtual void SelectPasswordAndFocus() = 0;

  // Panel1, Button1 and Button2 together.
  virtual void SetInputEnabled(bool enabled) = 0;
  virtual bool SkipBackupChecked() = 0;  // CheckBox1

  virtual void SetBackupTimer(bool enabled) = 0;  // Timer2
  virtual void SetDriverTimer(bool enabled) = 0;  // Timer1
};

}  // namespace dayledger
