// The main window on the Win32 API itself: the controls of tform1.ui,
// created from the table generated from it, with the handlers each a line
// into the window flow the Qt window uses too.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app_win32/win32_message_boxes.h"
#include "platform/platform.h"
#include "presenter/window_flow.h"

namespace dayledger {

struct ControlLayout;

class TForm1 : public WindowView {
 public:
  // `opening_notes`: what opening the installation finished or undid.
  TForm1(Installation& installation, std::vector<Said> opening_notes);
  ~TForm1() override;

  // Creates the window and its controls, tells the opening's notes, fills
  // the user list, and shows it centred; kCannotCreate, with the system's
  // code, when the window cannot be made.
  Status Create(HINSTANCE instance, int show);

  // Handlers, as the controls and timers call them.
  void FormCreate();
  void ListBox1Click();
  void Button1Click();
  void Button2Click();
  void Timer1Timer();
  void Timer2Timer();

  // WindowView
  void AppendLogLine(const std::string& line) override;
  void ProcessMessages() override;
  void ClearUsers() override;
  void AddUser(const std::string& name) override;
  void SelectUser(int index) override;
  int SelectedUser() override;
  void SetUserLabel(const std::string& text) override;
  void SetEncryptionLabel(const std::string& text) override;
  void SetVersionLabel(const std::string& text) override;
  void SetTargetVersionLabel(const std::string& text) override;
  void SetPasswordEnabled(bool enabled) override;
  std::string Password() override;
  void SelectPasswordAndFocus() override;
  void SetInputEnabled(bool enabled) override;
  bool SkipBackupChecked() override;
  void SetBackupTimer(bool enabled) override;
  void SetDriverTimer(bool enabled) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void CreateControls(HINSTANCE instance);
  HWND Control(const char* name) const;
  // The height of the user list's rows for the font in use.
  int ListRowHeight();
  HFONT FontFor(const ControlLayout& layout);
  void GrowToText(const char* name);
  void ShowInLabel(const char* name, const std::string& text);
  int Scaled(int design_pixels) const;

  Win32MessageBoxes boxes_;
  WindowFlow flow_;
  HWND window_ = nullptr;
  HWND focus_ = nullptr;  // the control that gets the focus back on activation
  HFONT font_ = nullptr;
  HFONT bold_font_ = nullptr;
  HBRUSH panel_brush_ = nullptr;
  HBRUSH window_brush_ = nullptr;
  int dpi_ = 96;
  std::map<std::string, HWND> controls_;
  std::map<std::string, HFONT> own_fonts_;
  bool input_enabled_ = true;
  bool password_enabled_ = true;
};

}  // namespace dayledger
