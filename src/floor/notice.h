// A message as a front end shows it: its words and what it is, a piece of
// information, an error or a yes/no question. How it is shown (a message
// box and its icon, a line on a terminal) belongs to the front end.
#pragma once

#include <string>

namespace dayledger {

enum class NoticeKind { kInformation, kError, kQuestion };

// One message (UTF-8) and what it is.
struct Notice {
  std::string text;
  NoticeKind kind = NoticeKind::kInformation;
  // A question whose yes speaks for more than this PC: Enter, pressed out
  // of habit, answers no.
  bool no_by_default = false;
};

}  // namespace dayledger
