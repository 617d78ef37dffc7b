// The real platform for the terminal program: message boxes become lines on
// standard error, and the one question is asked on the terminal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/system_platform.h"

namespace dayledger {

class ConsolePlatform : public SystemPlatform {
 public:
  // A reader that goes away (a closed pipe) must not end the program in the
  // middle of an upgrade, so writes to it fail quietly instead.
  ConsolePlatform();

  // Writes the message to standard error; a yes/no question is answered by
  // `question_answer` when set, otherwise asked on the terminal.
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  void ProcessMessages() override {}

  std::optional<int> question_answer;
  int messages_shown = 0;

  // The program's arguments as UTF-8 (Windows hands them over in its own
  // code page; the wide command line has them whole).
  static std::vector<std::string> Arguments(int argc, char* argv[]);
  // Whether a terminal is there to ask on.
  static bool HasTerminal();
  static bool StderrIsTerminal();
  // Reads a line from the terminal without echo; nullopt without a terminal.
  static std::optional<std::string> ReadHiddenLine(const std::string& prompt);
  // Asks a yes/no question on the terminal; false without a terminal.
  static bool AskYesNo(const std::string& question);
};

}  // namespace dayledger
