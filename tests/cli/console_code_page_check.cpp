// Run under Wine on a terminal, by the Windows check: the terminal
// program's console writes UTF-8 while it lives and gives the console its
// code page back on every way out, when it goes and at exit() without
// going. Prints "restored" when it did; names what went wrong otherwise.
//   console_code_page_check destroyed|exit
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "cli/console.h"
#include "platform/windows_text.h"

namespace {

constexpr UINT kKorean = 949;

int Fail(const char* what) {
  std::printf("%s: code page %u\n", what, ::GetConsoleOutputCP());
  std::fflush(stdout);
  return 1;
}

// Registered before the console's own handler, so it runs after it.
void AfterExit() {
  if (::GetConsoleOutputCP() != kKorean) std::_Exit(Fail("at exit"));
  std::printf("restored\n");
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  if (argc != 2 || !::SetConsoleOutputCP(kKorean)) return Fail("no console");
  if (std::wcscmp(argv[1], L"exit") == 0) {
    std::atexit(AfterExit);
    new dayledger::Console();  // never destroyed, as when exit() ends the program
    if (::GetConsoleOutputCP() != CP_UTF8) return Fail("while running");
    std::exit(0);
  }
  {
    const dayledger::Console console;
    if (::GetConsoleOutputCP() != CP_UTF8) return Fail("while running");
  }
  if (::GetConsoleOutputCP() != kKorean) return Fail("after it went");
  std::printf("restored\n");
  return 0;
}
