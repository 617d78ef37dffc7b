#include "app_win32/win32_platform.h"

#include "platform/windows_text.h"

namespace dayledger {

int Win32Platform::MessageBox(const std::string& text, const std::string& caption, int flags) {
  // Windows supplies the buttons' words in the system's language.
  return ::MessageBoxW(owner_, Widen(text, CP_UTF8).c_str(), Widen(caption, CP_UTF8).c_str(),
                       static_cast<UINT>(flags));
}

void Win32Platform::ProcessMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace dayledger
