// What the core gives a front end to show: a message with its icon and
// buttons. The box itself, and how it is answered, belong to the front end.
#pragma once

#include <string>

namespace dayledger {

// Message box flag sets the tool uses, with the system's values.
enum MessageFlags : int {
  kMbInformation = 64,
  kMbError = 16,
  kMbQuestionYesNo = 36,
};
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// One message (UTF-8) and how it is shown.
struct Notice {
  std::string text;
  int flags = kMbInformation;
};

// A front end's message box: shows the text under the caption and waits for
// the answer (kIdYes, kIdNo, or kIdOk).
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual int Show(const std::string& text, const std::string& caption, int flags) = 0;
};

// Shows the notice under the application's title; returns the answer.
int ShowNotice(MessageBoxes& boxes, const Notice& notice);

}  // namespace dayledger
