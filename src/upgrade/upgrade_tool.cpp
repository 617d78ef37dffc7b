// UpgradeTool's construction and its progress log.
#include "upgrade/upgrade_tool.h"

#include <cstdio>

#include "texts/texts.h"

namespace dayledger {

UpgradeTool::UpgradeTool(Installation& installation, UpgradePort& port)
    : installation_(installation), platform_(installation.platform()), port_(port) {
  state_.TargetVersion = kTargetVersion;
  state_.AppDir = installation.app_dir();
  state_.Encrypted = false;
}

void UpgradeTool::AddLog(const std::string& text) {
  const LocalTime now = platform_.Now();
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d]", now.hour % 100, now.minute % 100,
                now.second % 100);
  port_.AppendLogLine(stamp + text);
  record_.Line(stamp + text);
}

Reply UpgradeTool::Recorded(Reply reply) {
  const bool ended = reply.outcome == Outcome::kStopped || reply.finished;
  record_.Note(reply, ended);
  if (reply.outcome == Outcome::kStopped) {
    for (Notice& notice : reply.notices) {
      if (notice.kind == NoticeKind::kError) notice.text += record_.Named();
    }
  }
  if (ended) record_ = RunRecord();
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
