// UpgradeTool's construction and its progress log.
#include "upgrade/upgrade_tool.h"

#include "floor/words.h"

namespace dayledger {

UpgradeTool::UpgradeTool(Installation& installation, UpgradePort& port, const VersionChain& chain)
    : installation_(installation), platform_(installation.platform()), port_(port), chain_(chain) {
  state_.TargetVersion = chain.target();
  state_.AppDir = installation.app_dir();
  state_.Encrypted = false;
}

void UpgradeTool::AddLog(const std::string& text) {
  const std::string line = StampedLine(platform_.Now(), text);
  port_.AppendLogLine(line);
  record_.Line(line);
}

Reply UpgradeTool::Recorded(Reply reply) {
  if (reply.outcome == Outcome::kStopped || reply.finished) {
    record_.End(&reply);
    // A run that ended, done or stopped, lets the user go: another program
    // may take them at once, not only once the window is closed.
    staged_.reset();
    installation_.Release(&lock_);
  } else {
    record_.Note(reply);
  }
  return reply;
}

void UpgradeTool::Note(StageNote note, int year) {
  switch (note) {
    case StageNote::kYearStamped:
      return AddLog(" - " + std::to_string(year) + Words(Say::kLogYearStamped));
    case StageNote::kYearLoaded:
      return AddLog(" - " + std::to_string(year) + Words(Say::kLogYearLoaded));
    case StageNote::kSchedulesMerged:
      return AddLog(Words(Say::kLogSchedulesMerged));
    case StageNote::kRepeatCreated:
      return AddLog(Words(Say::kLogRepeatCreated));
    case StageNote::kGroupInformationDone:
      return AddLog(Words(Say::kLogGroupInformationDone));
    case StageNote::kGroupsDone:
      return AddLog(Words(Say::kLogGroupsDone));
    case StageNote::kAnniversariesCopied:
      return AddLog(Words(Say::kLogAnniversariesCopied));
    case StageNote::kAnniversariesDone:
      return AddLog(Words(Say::kLogAnniversariesDone));
  }
}

void UpgradeTool::Progress(LongWork work, int done, int total) {
  port_.ShowProgress(work == LongWork::kSchedules ? Words(Say::kProgressSchedules)
                                                  : Words(Say::kProgressAnniversaries),
                     done, total);
}

}  // namespace dayledger
