// The error report's text and its stopped reply; replies that end a verb
// with a notice.
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

Reply Ended(Platform& platform, Outcome outcome, const std::string& text, const std::string& path) {
  Reply reply;
  reply.outcome = outcome;
  const std::string about = path.empty() ? "" : platform.Cp949ToUtf8(path);
  reply.notices.push_back({text + about, outcome == Outcome::kStopped ? kMbError : kMbInformation});
  reply.path = path;
  return reply;
}

}  // namespace dayledger
