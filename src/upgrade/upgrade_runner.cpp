// The start with its question, and one upgrade from start to finish.
#include "upgrade/upgrade_runner.h"

namespace dayledger {

Reply StartAsking(UpgradeTool& tool, StartRequest request, Notices& notices) {
  Reply reply = tool.Start(request);
  if (reply.outcome != Outcome::kAsk) return reply;
  if (!notices.Show(reply.notices.front())) {
    Reply declined;
    declined.outcome = Outcome::kRefused;
    return declined;
  }
  request.skip_confirmed = true;
  return tool.Start(request);
}

Reply RunUpgrade(UpgradeTool& tool, const StartRequest& request, Notices& notices) {
  Reply reply = StartAsking(tool, request, notices);
  for (;;) {
    for (const Notice& notice : reply.notices) notices.Show(notice);
    if (reply.next == Next::kBackup) {
      reply = tool.Backup(request.skip_backup);
    } else if (reply.next == Next::kStage) {
      reply = tool.RunStage();
    } else {
      break;
    }
  }
  return reply;
}

}  // namespace dayledger
