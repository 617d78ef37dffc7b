// The error report's text and its stopped reply; replies that end a verb
// with a notice.
#include "floor/error_report.h"

#include "texts/texts.h"

namespace dayledger {

namespace {

// The words for an error, with the paths it names: the framework's own
// text, or the tool's words for what it refuses itself.
std::string Words(const std::exception& error) {
  const auto* framework = dynamic_cast<const FrameworkError*>(&error);
  if (framework == nullptr) return error.what();
  const auto with_path = [&](const char* text) { return text + framework->path().text(); };
  switch (framework->kind()) {
    case ErrorKind::kFileInUse:
      return with_path(texts::kFileInUse);
    case ErrorKind::kFileReadOnly:
      return with_path(texts::kReadOnlyFiles);
    case ErrorKind::kFileNotDeletable:
      return with_path(texts::kFileNotDeletable);
    case ErrorKind::kLinkRefused:
      return with_path(texts::kLinkRefused);
    case ErrorKind::kRecoveryHeld:
      return with_path(texts::kRecoveryHeld);
    case ErrorKind::kChangeLost:
      return with_path(texts::kChangeLost);
    case ErrorKind::kChangeSavedUnfinished:
      return texts::kChangeSavedUnfinished + std::string(framework->what());
    default:
      return framework->what();
  }
}

}  // namespace

std::string ReasonLines(Platform& platform, const Path& path, int code) {
  if (code == 0) return "";
  const SystemReason reason = platform.Reason(code, path);
  const std::string shown = platform.Shown(path);
  std::string text;
  switch (reason.blocker) {
    case Blocker::kNone:
      break;
    case Blocker::kVirusScanner:
      text.append("\n").append(texts::kVirusScannerStopped).append(shown);
      break;
    case Blocker::kProtectedFolder:
      text.append("\n").append(texts::ProtectedFolderRefused(reason.program));
      break;
  }
  return text.append("\n").append(texts::SystemReasonShown(reason.code, reason.text));
}

std::string ReportedText(Platform& platform, const std::exception& error) {
  const std::string words = Words(error);
  std::string text = ErrorReportText(platform.ShownText(words));
  const auto* framework = dynamic_cast<const FrameworkError*>(&error);
  if (framework == nullptr) return text;
  // The file, where the sentence does not name it already.
  const Path& path = framework->path();
  if (!path.empty() && words.find(path.text()) == std::string::npos) {
    text.append("\n").append(texts::kFileNamed).append(platform.Shown(path));
  }
  return text + ReasonLines(platform, path, framework->code());
}

Reply Stopped(Platform& platform, const FrameworkError& error) {
  Reply reply;
  reply.outcome = Outcome::kStopped;
  reply.notices.push_back({ReportedText(platform, error), NoticeKind::kError});
  reply.error = error;
  reply.path = error.path();
  return reply;
}

Reply Ended(Platform& platform, Outcome outcome, const std::string& text, const Path& path) {
  Reply reply;
  reply.outcome = outcome;
  const std::string about = path.empty() ? "" : platform.Shown(path);
  reply.notices.push_back(
      {text + about, outcome == Outcome::kStopped ? NoticeKind::kError : NoticeKind::kInformation});
  reply.path = path;
  return reply;
}

}  // namespace dayledger
