// A refusal's reply, and the exit status of an outcome.
#include "floor/reply.h"

namespace dayledger {

Reply Reply::Refused(const std::string& text, NoticeKind kind, const Path& path) {
  Reply reply;
  reply.outcome = Outcome::kRefused;
  reply.notices.push_back({text, kind});
  reply.path = path;
  return reply;
}

int ExitStatusOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return kExitDone;
    case Outcome::kStopped:
      return kExitStopped;
    case Outcome::kAsk:
    case Outcome::kRefused:
      break;
  }
  return kExitRefused;
}

}  // namespace dayledger
