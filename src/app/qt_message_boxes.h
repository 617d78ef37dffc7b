// The Qt window's message boxes, and Qt's own texts in the system's language.
#pragma once

#include <QLocale>
#include <QTranslator>
#include <string>

#include "presenter/message_boxes.h"

namespace dayledger {

class QtMessageBoxes : public MessageBoxes {
 public:
  // Flags 36: question icon, Yes and No, answer kIdYes or kIdNo (closing the
  // box counts as No); 16: error icon, OK; 64: information icon, OK.
  int Show(const std::string& text, const std::string& caption, int flags) override;
};

// Loads Qt's own texts for `locale`, so that a Korean system's boxes read
// "예", "아니요" and "확인". Returns the installed translator (owned by the
// application), or nullptr when Qt has no texts for that language.
QTranslator* InstallToolkitTranslations(const QLocale& locale);

}  // namespace dayledger
