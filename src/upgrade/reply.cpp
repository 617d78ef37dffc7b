// A refusal's reply.
#include "upgrade/reply.h"

namespace dayledger {

Reply Reply::Refused(const std::string& text, NoticeKind kind, const std::string& path) {
  Reply reply;
  reply.outcome = Outcome::kRefused;
  reply.notices.push_back({text, kind});
  reply.path = path;
  return reply;
}

}  // namespace dayledger
