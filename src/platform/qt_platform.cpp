#include "platform/qt_platform.h"

#include <QApplication>
#include <QMessageBox>

namespace dayledger {

int QtPlatform::MessageBox(const std::string& text, const std::string& caption, int flags) {
  const QString message = QString::fromStdString(text);
  const QString title = QString::fromStdString(caption);
  QWidget* parent = QApplication::activeWindow();
  if (flags == kMbQuestionYesNo) {
    const auto answer = QMessageBox::question(parent, title, message,
                                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::No ? kIdNo : kIdYes;
  }
  if (flags == kMbError) {
    QMessageBox::critical(parent, title, message);
  } else {
    QMessageBox::information(parent, title, message);
  }
  return 1;  // IDOK
}

void QtPlatform::ProcessMessages() { QCoreApplication::processEvents(); }

}  // namespace dayledger
