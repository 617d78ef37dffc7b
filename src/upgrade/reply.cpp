// A refusal's reply, and how a notice reaches a front end's message box.
#include "upgrade/reply.h"

#include "texts/texts.h"

namespace dayledger {

Reply Reply::Refused(const std::string& text, int flags, const std::string& path) {
  Reply reply;
  reply.outcome = Outcome::kRefused;
  reply.notices.push_back({text, flags});
  reply.path = path;
  return reply;
}

int ShowNotice(MessageBoxes& boxes, const Notice& notice) {
  return boxes.Show(notice.text, texts::kApplicationTitle, notice.flags);
}

}  // namespace dayledger
