// What a front end receives while a verb of the upgrade runs: the progress
// log line by line, how far a long step has come, and a moment between
// steps to let a window repaint. Everything else comes back as a Reply.
// The port itself hears nothing: a run without a log (a dry run) uses it.
#pragma once

#include <string>

namespace dayledger {

class UpgradePort {
 public:
  virtual ~UpgradePort() = default;

  // One finished line of the progress log, time stamp included (UTF-8).
  virtual void AppendLogLine(const std::string& /*line*/) {}
  // Long stage work: `done` of `total` units.
  virtual void ShowProgress(const std::string& /*what*/, int /*done*/, int /*total*/) {}
  // Lets a window handle what is waiting, after each version step's slot.
  virtual void ProcessMessages() {}
};

}  // namespace dayledger
