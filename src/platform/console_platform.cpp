#include "platform/console_platform.h"

#include <cstdio>

namespace dayledger {

int ConsolePlatform::MessageBox(const std::string& text, const std::string& /*caption*/,
                                int flags) {
  ++messages_shown;
  if (flags == kMbQuestionYesNo) {
    if (question_answer) return *question_answer;
    return AskYesNo(text) ? kIdYes : kIdNo;
  }
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  return 1;
}

}  // namespace dayledger
