// Runs one upgrade from the start checks to the last stage without a
// message loop: each verb follows the one before as soon as its reply says
// it is due.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "check/preflight.h"
#include "floor/notice.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

// The start checks; each question they ask is asked of `notices`, and a yes
// runs them again with it answered into `request`. What the reply tells is
// not yet shown.
Reply StartAsking(UpgradeTool& tool, StartRequest& request, Notices& notices);

// Runs the upgrade of the user the tool shows, showing every notice in
// `notices`. The last reply says what the run came to: kDone once the
// upgrade reached the disk, kRefused when a start check said no, kStopped
// when the backup failed or an error (its `error`) ended a verb.
Reply RunUpgrade(UpgradeTool& tool, const StartRequest& request, Notices& notices);

// A run over several users, each upgraded in turn as RunUpgrade upgrades
// one, with the choices of one request. The installation's start checks
// and their questions come once, for the first user that gets to them; an
// answer holds for the users after, and a question declined is declined
// for them all. One user's refusal or stop leaves the others to go on.
class UsersRun {
 public:
  UsersRun(UpgradeTool& tool, const StartRequest& request, Notices& notices);
  UsersRun(const UsersRun&) = delete;
  UsersRun& operator=(const UsersRun&) = delete;

  // Upgrades the user named `user` (CP949) with `password` (UTF-8).
  Reply Upgrade(const std::string& user, const std::string& password);

 private:
  UpgradeTool& tool_;
  Notices& notices_;
  StartRequest request_;
  InstallationVerdict verdict_;
  std::optional<Reply> declined_;
};

// The upgrade as the pre-flight check plays it: a tool of its own each
// round, which writes no log.
class UpgradeDryRun : public DryRun {
 public:
  Reply Open(Installation& staged, const std::string& user) override;
  Reply Run(const std::string& user, const std::string& password, Notices& notices) override;
  const UnlockedUser& user() const override { return tool_->user(); }

 private:
  UpgradePort no_log_;
  std::unique_ptr<UpgradeTool> tool_;
};

}  // namespace dayledger
