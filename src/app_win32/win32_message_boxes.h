// The native window's message boxes, owned by the window once it exists.
#pragma once

#include <string>

#include "platform/windows_api.h"
#include "presenter/message_boxes.h"

namespace dayledger {

class Win32MessageBoxes : public MessageBoxes {
 public:
  void set_owner(HWND owner) { owner_ = owner; }

  // Windows supplies the buttons' words in the system's language.
  int Show(const std::string& text, const std::string& caption, int flags) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace dayledger
