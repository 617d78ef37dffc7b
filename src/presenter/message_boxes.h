// The system's message box, as both windows show what the core tells: the
// flag sets of its icons and buttons and its answers, with the system's
// values, and a reply's messages worded and shown in boxes under the
// application's title.
#pragma once

#include <string>

#include "floor/notice.h"
#include "floor/words.h"
#include "platform/platform.h"

namespace dayledger {

enum MessageFlags : int {
  kMbInformation = 64,
  kMbError = 16,
  kMbQuestionYesNo = 36,
  // With a question: No is the button Enter presses.
  kMbDefaultButton2 = 256,
};
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// A window's message box: shows the text under the caption and waits for
// the answer (kIdYes, kIdNo, or kIdOk).
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual int Show(const std::string& text, const std::string& caption, int flags) = 0;
};

// The flag set a notice is shown with.
int FlagsFor(NoticeKind kind);

// Shows the notice under the application's title; returns the answer.
int ShowNotice(MessageBoxes& boxes, const Notice& notice);

// What the core tells, in message boxes, its places as `platform` shows them.
class BoxedNotices : public Notices {
 public:
  BoxedNotices(Platform& platform, MessageBoxes& boxes) : platform_(platform), boxes_(boxes) {}
  bool Show(const Said& said) override {
    return ShowNotice(boxes_, Worded(platform_, said)) == kIdYes;
  }

 private:
  Platform& platform_;
  MessageBoxes& boxes_;
};

// Every message of the reply, in boxes.
void ShowReply(Platform& platform, MessageBoxes& boxes, const Reply& reply);

// Runs a window program's handler; an error that ends it is shown in
// `boxes`, and answered as a stopped reply.
template <typename Handler>
Reply RunReported(Platform& platform, MessageBoxes& boxes, Handler&& handler) {
  const Reply reply = Guarded([&] {
    handler();
    return Reply();
  });
  ShowReply(platform, boxes, reply);
  return reply;
}

}  // namespace dayledger
