// The console's notices: a line on standard error, or a question.
#include "cli/console.h"

#include <cstdio>

namespace dayledger {

bool Console::Show(const Notice& notice) {
  if (notice.kind == NoticeKind::kQuestion) {
    if (const Result<bool> answer = AskYesNo(notice.text); answer.ok()) return *answer;
  }
  std::fprintf(stderr, "%s\n", notice.text.c_str());
  // A question nobody can answer here is answered no, and says how to answer it.
  if (notice.kind == NoticeKind::kQuestion) {
    std::fputs("dayledger-upgrade: no terminal to answer on; --yes answers yes\n", stderr);
  }
  std::fflush(stderr);
  return false;
}

}  // namespace dayledger
