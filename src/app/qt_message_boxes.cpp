// Qt's message box with the system's icons and buttons, and Qt's own texts.
#include "app/qt_message_boxes.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>

namespace dayledger {

int QtMessageBoxes::Show(const std::string& text, const std::string& caption, int flags) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  const bool question = (flags & ~kMbDefaultButton2) == kMbQuestionYesNo;
  if (question) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if ((flags & kMbDefaultButton2) != 0) box.setDefaultButton(QMessageBox::No);
  } else {
    box.setIcon(flags == kMbError ? QMessageBox::Critical : QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
  }
  box.exec();
  if (!question) return kIdOk;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? kIdYes : kIdNo;
}

QTranslator* InstallToolkitTranslations(const QLocale& locale) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(locale, "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

}  // namespace dayledger
