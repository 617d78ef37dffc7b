// The real platform for the native Windows window: the system's files and
// clock, plus the message box and the message processing of the window.
#pragma once

#include "platform/system_platform.h"
#include "platform/windows_api.h"

namespace dayledger {

class Win32Platform : public SystemPlatform {
 public:
  // Message boxes are owned by `owner` once it exists.
  void set_owner(HWND owner) { owner_ = owner; }

  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  void ProcessMessages() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace dayledger
