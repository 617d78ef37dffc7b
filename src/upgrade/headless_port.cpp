#include "upgrade/headless_port.h"

namespace dayledger {

void HeadlessPort::AppendLogLine(const std::string& line) {
  log.push_back(line);
  if (on_log) on_log(line);
}

void HeadlessPort::ShowProgress(const std::string& what, int done, int total) {
  if (on_progress) on_progress(what, done, total);
}

}  // namespace dayledger
