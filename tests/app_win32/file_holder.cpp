// Holds a file open as the scheduler or a virus scanner may: reading and
// writing shared, deletion not. Prints "held" once it holds the file, and
// lets go when the file named second exists, or after that many
// milliseconds (or after two minutes). With a third path, it waits for that
// one to appear first (up to two minutes), so that a file is taken at a
// moment of another program's work.
//   file_holder PATH RELEASE_PATH|MILLISECONDS [WAIT_FOR_PATH]
#include <cstdio>
#include <cwchar>

#include "platform/windows_text.h"

namespace {

bool Exists(const wchar_t* path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  if (argc != 3 && argc != 4) return 2;
  const ULONGLONG start = ::GetTickCount64();
  while (argc == 4 && !Exists(argv[3]) && ::GetTickCount64() - start < 120000) ::Sleep(1);
  const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  wchar_t* end = nullptr;
  const unsigned long milliseconds = std::wcstoul(argv[2], &end, 10);
  const bool timed = end != argv[2] && *end == L'\0';
  const ULONGLONG held = ::GetTickCount64();
  const ULONGLONG limit = timed ? milliseconds : 120000;
  while (::GetTickCount64() - held < limit && (timed || !Exists(argv[2])))
    ::Sleep(timed ? 10 : 100);
  ::CloseHandle(file);
  return 0;
}
