// The program entry of the native Windows window.
#include "app_win32/tform1_win32.h"
#include "app_win32/win32_message_boxes.h"
#include "platform/system_platform.h"
#include "platform/virtual_store_platform.h"
#include "upgrade/error_report.h"
#include "upgrade/upgrade_tool.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/, int show) {
  dayledger::SystemPlatform system;
  // An installation Windows virtualizes is seen as the scheduler sees it.
  const std::string app_dir = dayledger::AppDirFromExecutable(system.ExecutablePath());
  dayledger::InstallationView view(system, system.VirtualStoreFolder(app_dir), app_dir);
  dayledger::Platform& platform = view.platform();
  // An error that escapes the window is reported in a box of its own.
  dayledger::Win32MessageBoxes boxes;
  int status = 0;
  dayledger::RunReported(platform, boxes, [&] {
    dayledger::TForm1 Form1(platform);
    if (!Form1.Create(instance, show)) return;
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
