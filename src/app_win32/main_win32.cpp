// The program entry of the native Windows window.
#include "app_win32/tform1_win32.h"
#include "app_win32/win32_message_boxes.h"
#include "floor/installation.h"
#include "platform/system_platform.h"
#include "presenter/message_boxes.h"
#include "presenter/window_flow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int show) {
  dayledger::SystemPlatform system;
  dayledger::OpenedInstallation opened = dayledger::OpenProgramInstallation(system);
  // An error that escapes the window is reported in a box of its own.
  dayledger::Win32MessageBoxes boxes;
  if (!dayledger::OpenedForWindow(opened, boxes)) return 1;
  int status = 0;
  dayledger::RunReported(*opened.view, boxes, [&] {
    dayledger::TForm1 Form1(*opened.installation, std::move(opened.notes));
    if (!Form1.Create(instance, show).ok()) {
      status = 1;
      return;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      // Tab and the arrow keys move between the controls, as in a dialog.
      if (::IsDialogMessageW(::GetActiveWindow(), &message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    status = static_cast<int>(message.wParam);
  });
  return status;
}
