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

void UpgradeTool::AddLog(Say say, const std::string& fact) {
  Said note(say);
  note.items = {fact};
  AddLog(note);
}

void UpgradeTool::AddLog(const Said& note) {
  const std::string line = StampedLine(platform_.Now(), Worded(platform_, note).text);
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
      return AddLog(Say::kLogYearStamped, std::to_string(year));
    case StageNote::kYearLoaded:
      return AddLog(Say::kLogYearLoaded, std::to_string(year));
    case StageNote::kSchedulesMerged:
      return AddLog(Say::kLogSchedulesMerged);
    case StageNote::kRepeatCreated:
      return AddLog(Say::kLogRepeatCreated);
    case StageNote::kGroupInformationDone:
      return AddLog(Say::kLogGroupInformationDone);
    case StageNote::kGroupsDone:
      return AddLog(Say::kLogGroupsDone);
    case StageNote::kAnniversariesCopied:
      return AddLog(Say::kLogAnniversariesCopied);
    case StageNote::kAnniversariesDone:
      return AddLog(Say::kLogAnniversariesDone);
  }
}

void UpgradeTool::Progress(LongWork work, int done, int total) {
  port_.ShowProgress(work == LongWork::kSchedules ? Words(Say::kProgressSchedules)
                                                  : Words(Say::kProgressAnniversaries),
                     done, total);
}

}  // namespace dayledger
