// The terminal program's side of the console: messages become lines on
// standard error, the one question is asked on the terminal, and the
// arguments and the password are read in the system's own way.
// console_posix.cpp and console_win32.cpp hold each system's part.
#pragma once

#include <string>
#include <vector>

#include "floor/notice.h"
#include "platform/status.h"

namespace dayledger {

class Console {
 public:
  // A reader that goes away (a closed pipe) must not end the program in the
  // middle of an upgrade, so writes to it fail quietly instead. On Windows
  // the console shows UTF-8 while the program runs.
  Console();
  // Gives the console back as it was found (Windows: its output code page).
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Writes the message to standard error; a yes/no question is asked on
  // the terminal, and without one is written there and answered no.
  bool Show(const Notice& notice);

  // The program's arguments as UTF-8 (Windows hands them over in its own
  // code page; the wide command line has them whole).
  static std::vector<std::string> Arguments(int argc, char* argv[]);
  // Whether a terminal is there to ask on.
  static bool HasTerminal();
  static bool StderrIsTerminal();
  // Reads a line from the terminal without echo; kNotFound without a terminal.
  static Result<std::string> ReadHiddenLine(const std::string& prompt);
  // Asks a yes/no question on the terminal: whether the answer was yes;
  // kNotFound without a terminal.
  static Result<bool> AskYesNo(const std::string& question);
};

}  // namespace dayledger
