// MessageBoxW with the core's caption and flags.
#include "app_win32/win32_message_boxes.h"

#include "platform/windows_text.h"

namespace dayledger {

int Win32MessageBoxes::Show(const std::string& text, const std::string& caption, int flags) {
  return ::MessageBoxW(owner_, Widen(text, CP_UTF8).c_str(), Widen(caption, CP_UTF8).c_str(),
                       static_cast<UINT>(flags));
}

}  // namespace dayledger
