#include "upgrade/error_report.h"

#include "upgrade/texts.h"

namespace dayledger {

std::string ReportedText(Platform& platform, const std::exception& error) {
  return ErrorReportText(platform.Cp949ToUtf8(error.what()));
}

void ReportError(Platform& platform, const std::exception& error) {
  platform.MessageBox(ReportedText(platform, error), texts::kApplicationTitle, kMbError);
}

}  // namespace dayledger
