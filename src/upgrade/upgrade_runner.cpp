// The start with its question, and one upgrade from start to finish.
#include "upgrade/upgrade_runner.h"

namespace dayledger {

Reply StartAsking(UpgradeTool& tool, StartRequest& request, Notices& notices) {
  Reply reply = tool.Start(request);
  // Each question is asked once; a yes runs the checks again with it answered.
  while (reply.outcome == Outcome::kAsk) {
    if (!notices.Show(reply.said.front())) {
      Reply declined;
      declined.outcome = Outcome::kRefused;
      return declined;
    }
    switch (reply.question) {
      case Question::kOtherPcs:
        request.others_closed = true;
        break;
      case Question::kSkipBackup:
        request.skip_confirmed = true;
        break;
      case Question::kNone:
        return reply;
    }
    reply = tool.Start(request);
  }
  return reply;
}

namespace {

// RunUpgrade, with the questions' answers kept in `request`.
Reply RunAnswering(UpgradeTool& tool, StartRequest& request, Notices& notices) {
  Reply reply = StartAsking(tool, request, notices);
  for (;;) {
    for (const Said& said : reply.said) notices.Show(said);
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

}  // namespace

Reply RunUpgrade(UpgradeTool& tool, const StartRequest& request, Notices& notices) {
  StartRequest asked = request;
  return RunAnswering(tool, asked, notices);
}

UsersRun::UsersRun(UpgradeTool& tool, const StartRequest& request, Notices& notices)
    : tool_(tool), notices_(notices), request_(request) {
  request_.verdict = &verdict_;
}

Reply UsersRun::Upgrade(const std::string& user, const std::string& password) {
  if (declined_) return *declined_;
  request_.user = user;
  request_.password = password;
  tool_.ShowUser(user);
  Reply reply = RunAnswering(tool_, request_, notices_);
  if (reply.outcome == Outcome::kRefused && reply.said.empty()) declined_ = reply;
  return reply;
}

Reply UpgradeDryRun::Open(Installation& staged, const std::string& user) {
  tool_ = std::make_unique<UpgradeTool>(staged, no_log_);
  Reply shown = tool_->LoadUsers();
  if (shown.outcome == Outcome::kDone) shown = tool_->ShowUser(user);
  return shown;
}

Reply UpgradeDryRun::Run(const std::string& user, const std::string& password, Notices& notices) {
  StartRequest request{user, password};
  request.verb = Verb::kCheck;
  return RunUpgrade(*tool_, request, notices);
}

}  // namespace dayledger
