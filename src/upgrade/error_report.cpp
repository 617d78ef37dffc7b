// The error report's text and its stopped reply.
#include "upgrade/error_report.h"

namespace dayledger {

std::string ReportedText(Platform& platform, const std::exception& error) {
  return ErrorReportText(platform.Cp949ToUtf8(error.what()));
}

Reply Stopped(Platform& platform, const FrameworkError& error) {
  Reply reply;
  reply.outcome = Outcome::kStopped;
  reply.notices.push_back({ReportedText(platform, error), kMbError});
  reply.error = error;
  reply.path = error.path();
  return reply;
}

}  // namespace dayledger
