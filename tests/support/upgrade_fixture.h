// A scheduler installation in a temporary folder, the upgrade tool on it and
// a headless window to drive it: the set-up most upgrade tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/installation_builder.h"
#include "presenter/window_flow.h"
#include "support/headless_view.h"
#include "support/stopped_words.h"
#include "support/test_platform.h"
#include "upgrade/upgrade_runner.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger::testing {

class UpgradeFixture : public ::testing::Test {
 protected:
  UpgradeFixture();

  // Writes the users and a user list naming them in this order.
  void AddUsers(const std::vector<demo::UserSpec>& users);
  // The window flow, created (and its user list read) on first use.
  WindowFlow& flow();
  // What the stage tests hand the steps to note their work: the tool's own
  // log, into the headless view.
  StageObserver& notes();
  // The next flow() is a new window on the installation, which reads the
  // user list anew.
  void ResetFlow() { flow_.reset(); }
  void Select(const std::string& name);
  Outcome Upgrade(const std::string& name, const std::string& password = "");

  // The start, then every tick its replies arm, as the window's timers run them.
  Reply RunFromStart();

  // Log texts without their "[hh:mm:ss]" stamps.
  std::vector<std::string> LogTexts() const;
  // Native path of a file under the installation.
  std::string NativeOf(const std::string& relative) const {
    return builder.root() + "/" + relative;
  }
  std::string Read(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  // What a stopped run of `user` ends its message with: where its record lies.
  std::string RecordNamed(const std::string& user = "u") const;
  // Messages shown so far, as "kind:text".
  std::vector<std::string> Messages() const { return platform.MessageLines(); }

  TestPlatform platform;
  demo::InstallationBuilder builder;
  Installation installation;  // the builder's, on the test platform
  HeadlessView port;
  Reply opened;  // the reply of the flow's opening

 private:
  std::unique_ptr<WindowFlow> flow_;
  std::unique_ptr<UpgradeTool> notes_;
};

}  // namespace dayledger::testing
