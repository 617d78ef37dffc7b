// The console's message box: a line on standard error, or a question.
#include "cli/console.h"

#include <cstdio>

namespace dayledger {

int Console::Show(const std::string& text, const std::string& /*caption*/, int flags) {
  if (flags == kMbQuestionYesNo) return AskYesNo(text) ? kIdYes : kIdNo;
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  return kIdOk;
}

}  // namespace dayledger
