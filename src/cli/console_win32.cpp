// The console on Windows: wide arguments, UTF-8 output, and the console
// input for the password and the question.
// <windows.h> comes before the shell's and the C runtime's headers.
// clang-format off
#include "platform/windows_text.h"
// clang-format on
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "cli/console.h"

namespace dayledger {
namespace {

// The console's input, opened for one exchange.
class ConsoleInput {
 public:
  ConsoleInput()
      : handle_(::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr)) {}
  ~ConsoleInput() {
    if (ok()) ::CloseHandle(handle_);
  }
  ConsoleInput(const ConsoleInput&) = delete;
  ConsoleInput& operator=(const ConsoleInput&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

  // One line as UTF-8, echoed or not.
  std::string ReadLine(bool echo) const {
    DWORD saved = 0;
    ::GetConsoleMode(handle_, &saved);
    ::SetConsoleMode(handle_, echo ? saved : saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::wstring line;
    wchar_t c;
    DWORD got = 0;
    while (::ReadConsoleW(handle_, &c, 1, &got, nullptr) && got == 1 && c != L'\n') {
      if (c != L'\r') line.push_back(c);
    }
    ::SetConsoleMode(handle_, saved);
    return Narrow(line, CP_UTF8);
  }

 private:
  HANDLE handle_;
};

// The console's output code page before the program set UTF-8 for its own
// texts, 0 until then. An older program run in the same window afterwards
// writes in that code page, so it is given back on every way out: a return,
// exit(), Ctrl+C or Ctrl+Break, the window closed, a fatal error.
UINT saved_code_page = 0;

void RestoreCodePage() {
  if (saved_code_page != 0) ::SetConsoleOutputCP(saved_code_page);
}

BOOL WINAPI RestoreOnSignal(DWORD /*signal*/) {
  RestoreCodePage();
  return FALSE;  // the system's own handling ends the program as before
}

}  // namespace

std::vector<std::string> Console::Arguments(int /*argc*/, char* /*argv*/[]) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i], CP_UTF8));
  ::LocalFree(wide);
  return arguments;
}

Console::Console() {
  saved_code_page = ::GetConsoleOutputCP();  // 0 without a console
  if (saved_code_page == 0) return;
  std::atexit(RestoreCodePage);
  ::SetConsoleCtrlHandler(RestoreOnSignal, TRUE);
  std::set_terminate([] {
    RestoreCodePage();
    std::abort();
  });
  ::SetConsoleOutputCP(CP_UTF8);
}

Console::~Console() { RestoreCodePage(); }

bool Console::HasTerminal() { return ConsoleInput().ok(); }

bool Console::StderrIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

Result<std::string> Console::ReadHiddenLine(const std::string& prompt) {
  ConsoleInput console;
  if (!console.ok()) return Status::Failed(StatusKind::kNotFound, Path());
  std::fprintf(stderr, "%s", prompt.c_str());
  const std::string line = console.ReadLine(false);
  std::fprintf(stderr, "\n");
  return line;
}

Result<bool> Console::AskYesNo(const std::string& question) {
  ConsoleInput console;
  if (!console.ok()) return Status::Failed(StatusKind::kNotFound, Path());
  std::fprintf(stderr, "%s [y/N] ", question.c_str());
  const std::string answer = console.ReadLine(true);
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace dayledger
