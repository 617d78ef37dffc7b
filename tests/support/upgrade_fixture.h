// A scheduler installation in a temporary folder, the upgrade tool on it and
// a headless port to drive it: the set-up most upgrade tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/installation_builder.h"
#include "support/test_platform.h"
#include "upgrade/headless_port.h"
#include "upgrade/upgrade_runner.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger::testing {

class UpgradeFixture : public ::testing::Test {
 protected:
  UpgradeFixture();

  // Writes the users and a user list naming them in this order.
  void AddUsers(const std::vector<demo::UserSpec>& users);
  // The tool, created (and its user list read) on first use.
  UpgradeTool& tool();
  void Select(const std::string& name);
  RunOutcome Upgrade(const std::string& name, const std::string& password = "");

  // Log texts without their "[hh:mm:ss]" stamps.
  std::vector<std::string> LogTexts() const;
  // Native path of a file under the installation.
  std::string Path(const std::string& relative) const { return builder.root() + "/" + relative; }
  std::string Read(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  // Messages shown so far, as "flags:text".
  std::vector<std::string> Messages() const;

  TestPlatform platform;
  demo::InstallationBuilder builder;
  HeadlessPort port;

 private:
  std::unique_ptr<UpgradeTool> tool_;
};

}  // namespace dayledger::testing
