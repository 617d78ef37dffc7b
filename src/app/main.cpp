#include <QApplication>

#include "app/tform1.h"
#include "platform/qt_platform.h"
#include "upgrade/error_report.h"
#include "upgrade/texts.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(dayledger::texts::kApplicationTitle);
  dayledger::InstallToolkitTranslations(QLocale::system());
  dayledger::InstallFontSubstitutes();
  dayledger::QtPlatform platform;
  dayledger::RunReported(platform, [&] {
    dayledger::TForm1 Form1(platform);
    Form1.show();
    QApplication::exec();
  });
  return 0;
}
