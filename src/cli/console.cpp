// The console's notices: a line on standard error, or a question.
#include "cli/console.h"

#include <cstdio>

namespace dayledger {

bool Console::Show(const Notice& notice) {
  if (notice.kind == NoticeKind::kQuestion) return AskYesNo(notice.text);
  std::fprintf(stderr, "%s\n", notice.text.c_str());
  std::fflush(stderr);
  return false;
}

}  // namespace dayledger
