// The Qt window's program: the application, its texts and the main window.
#include <QApplication>

#include "app/qt_message_boxes.h"
#include "app/tform1.h"
#include "floor/installation.h"
#include "platform/system_platform.h"
#include "presenter/message_boxes.h"
#include "presenter/window_flow.h"
#include "texts/texts.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(dayledger::texts::kApplicationTitle);
  dayledger::InstallToolkitTranslations(QLocale::system());
  dayledger::InstallFontSubstitutes();
  dayledger::SystemPlatform system;
  dayledger::OpenedInstallation opened = dayledger::OpenProgramInstallation(system);
  dayledger::QtMessageBoxes boxes;
  if (!dayledger::OpenedForWindow(opened, boxes)) return 1;
  dayledger::RunReported(*opened.view, boxes, [&] {
    dayledger::TForm1 Form1(*opened.installation, boxes, std::move(opened.notes));
    Form1.show();
    QApplication::exec();
  });
  return 0;
}
