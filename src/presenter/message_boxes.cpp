// Messages in message boxes: each kind's flag set, under the title.
#include "presenter/message_boxes.h"

#include "texts/texts.h"

namespace dayledger {

int FlagsFor(NoticeKind kind) {
  switch (kind) {
    case NoticeKind::kInformation:
      return kMbInformation;
    case NoticeKind::kError:
      return kMbError;
    case NoticeKind::kQuestion:
      return kMbQuestionYesNo;
  }
  return kMbInformation;
}

int ShowNotice(MessageBoxes& boxes, const Notice& notice) {
  const int flags = FlagsFor(notice.kind) | (notice.no_by_default ? kMbDefaultButton2 : 0);
  return boxes.Show(notice.text, texts::kApplicationTitle, flags);
}

void ShowReply(Platform& platform, MessageBoxes& boxes, const Reply& reply) {
  for (const Notice& notice : WordedAll(platform, reply)) ShowNotice(boxes, notice);
}

}  // namespace dayledger
