// The real platform with the window toolkit's services: Qt message boxes and
// Qt's event loop.
#pragma once

#include "platform/system_platform.h"

namespace dayledger {

class QtPlatform : public SystemPlatform {
 public:
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  void ProcessMessages() override;
};

}  // namespace dayledger
