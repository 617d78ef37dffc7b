// The console on POSIX systems: the controlling terminal for the password
// and the question.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/console.h"

namespace dayledger {
namespace {

// The controlling terminal, opened for one exchange.
class Terminal {
 public:
  Terminal() : fd_(::open("/dev/tty", O_RDWR | O_NOCTTY)) {}
  ~Terminal() {
    if (fd_ >= 0) ::close(fd_);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool ok() const { return fd_ >= 0; }
  void Write(const std::string& text) const {
    if (::write(fd_, text.data(), text.size()) < 0) return;
  }
  std::string ReadLine() const {
    std::string line;
    char c;
    while (::read(fd_, &c, 1) == 1 && c != '\n') {
      if (c != '\r') line.push_back(c);
    }
    return line;
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

Console::Console() { std::signal(SIGPIPE, SIG_IGN); }

Console::~Console() = default;

std::vector<std::string> Console::Arguments(int argc, char* argv[]) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

bool Console::HasTerminal() { return Terminal().ok(); }

bool Console::StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

Result<std::string> Console::ReadHiddenLine(const std::string& prompt) {
  Terminal terminal;
  if (!terminal.ok()) return Status::Failed(StatusKind::kNotFound, Path());
  terminal.Write(prompt);
  termios saved{};
  const bool can_hide = ::tcgetattr(terminal.fd(), &saved) == 0;
  if (can_hide) {
    termios hidden = saved;
    hidden.c_lflag &= static_cast<tcflag_t>(~ECHO);
    ::tcsetattr(terminal.fd(), TCSAFLUSH, &hidden);
  }
  const std::string line = terminal.ReadLine();
  if (can_hide) ::tcsetattr(terminal.fd(), TCSAFLUSH, &saved);
  terminal.Write("\n");
  return line;
}

Result<bool> Console::AskYesNo(const std::string& question) {
  Terminal terminal;
  if (!terminal.ok()) return Status::Failed(StatusKind::kNotFound, Path());
  terminal.Write(question + " [y/N] ");
  const std::string answer = terminal.ReadLine();
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace dayledger
