// A window without a screen: the list, labels, check box and timers as plain
// values, for driving the window flow in tests.
#pragma once

#include <string>
#include <vector>

#include "presenter/window_flow.h"

namespace dayledger::testing {

class HeadlessView : public WindowView {
 public:
  void AppendLogLine(const std::string& line) override { log.push_back(line); }
  void ProcessMessages() override { ++process_messages_calls; }
  void ClearUsers() override { users.clear(), selected = -1; }
  void AddUser(const std::string& name) override { users.push_back(name); }
  void SelectUser(int index) override { selected = index; }
  int SelectedUser() override { return selected; }
  void SetUserLabel(const std::string& text) override { user_label = text; }
  void SetEncryptionLabel(const std::string& text) override { encryption_label = text; }
  void SetVersionLabel(const std::string& text) override { version_label = text; }
  void SetTargetVersionLabel(const std::string& text) override { target_label = text; }
  void SetPasswordEnabled(bool enabled) override { password_enabled = enabled; }
  std::string Password() override { return password; }
  void SelectPasswordAndFocus() override { password_focused = true; }
  void SetInputEnabled(bool enabled) override { input_enabled = enabled; }
  bool SkipBackupChecked() override { return skip_backup; }
  void SetBackupTimer(bool enabled) override { backup_timer = enabled; }
  void SetDriverTimer(bool enabled) override { driver_timer = enabled; }

  std::vector<std::string> log;
  int process_messages_calls = 0;
  std::vector<std::string> users;
  int selected = -1;
  std::string user_label = "(사용자명)";
  std::string encryption_label = "(암호화)";
  std::string version_label = "(데이터 버전)";
  std::string target_label;
  bool password_enabled = true;
  std::string password;
  bool password_focused = false;
  bool input_enabled = true;
  bool skip_backup = false;
  bool backup_timer = false;
  bool driver_timer = false;
};

}  // namespace dayledger::testing
