// The real platform with the window toolkit's services: Qt message boxes and
// Qt's event loop.
#pragma once

#include <QLocale>
#include <QTranslator>

#include "platform/system_platform.h"

namespace dayledger {

class QtPlatform : public SystemPlatform {
 public:
  // Flags 36: question icon, Yes and No, answer kIdYes or kIdNo (closing the
  // box counts as No); 16: error icon, OK; 64: information icon, OK.
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  void ProcessMessages() override;
};

// Loads Qt's own texts for `locale`, so that a Korean system's boxes read
// "예", "아니요" and "확인". Returns the installed translator (owned by the
// application), or nullptr when Qt has no texts for that language.
QTranslator* InstallToolkitTranslations(const QLocale& locale);

}  // namespace dayledger
