// UpgradeTool's construction and its progress log.
#include "upgrade/upgrade_tool.h"

#include "texts/texts.h"

namespace dayledger {

UpgradeTool::UpgradeTool(Installation& installation, UpgradePort& port, const VersionChain& chain)
    : installation_(installation), platform_(installation), port_(port), chain_(chain) {
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
  } else {
    record_.Note(reply);
  }
  return reply;
}

void UpgradeTool::Note(StageNote note, int year) {
  switch (note) {
    case StageNote::kYearStamped:
      return AddLog(" - " + std::to_string(year) + texts::kLogYearStamped);
    case StageNote::kYearLoaded:
      return AddLog(" - " + std::to_string(year) + texts::kLogYearLoaded);
    case StageNote::kSchedulesMerged:
      return AddLog(texts::kLogSchedulesMerged);
    case StageNote::kRepeatCreated:
      return AddLog(texts::kLogRepeatCreated);
    case StageNote::kGroupInformationDone:
      return AddLog(texts::kLogGroupInformationDone);
    case StageNote::kGroupsDone:
      return AddLog(texts::kLogGroupsDone);
    case StageNote::kAnniversariesCopied:
      return AddLog(texts::kLogAnniversariesCopied);
    case StageNote::kAnniversariesDone:
      return AddLog(texts::kLogAnniversariesDone);
  }
}

void UpgradeTool::Progress(LongWork work, int done, int total) {
  port_.ShowProgress(
      work == LongWork::kSchedules ? texts::kProgressSchedules : texts::kProgressAnniversaries,
      done, total);
}

}  // namespace dayledger
