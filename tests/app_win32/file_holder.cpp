// Holds a file open as the scheduler or a virus scanner may: reading and
// writing shared, deletion not. Prints "held" once it holds the file, and
// lets go when the file named second exists (or after two minutes).
//   file_holder PATH RELEASE_PATH
#include <cstdio>

#include "platform/windows_text.h"

int wmain(int argc, wchar_t* argv[]) {
  if (argc != 3) return 2;
  const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  const std::wstring release = argv[2];
  for (int i = 0; i < 1200 && ::GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES;
       ++i) {
    ::Sleep(100);
  }
  ::CloseHandle(file);
  return 0;
}
