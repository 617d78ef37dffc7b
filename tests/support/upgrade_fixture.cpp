#include "support/upgrade_fixture.h"

#include <algorithm>

namespace dayledger::testing {

UpgradeFixture::UpgradeFixture() : builder(platform.temp_dir() + "/app") {
  builder.WriteTemplates();
}

void UpgradeFixture::AddUsers(const std::vector<demo::UserSpec>& users) {
  std::vector<std::string> names;
  for (const demo::UserSpec& user : users) {
    builder.WriteUser(user);
    names.push_back(user.name);
  }
  builder.WriteUserList(names);
}

UpgradeTool& UpgradeFixture::tool() {
  if (!tool_) {
    tool_ = std::make_unique<UpgradeTool>(platform, port, builder.AppDir());
    tool_->FormCreate();
  }
  return *tool_;
}

void UpgradeFixture::Select(const std::string& name) {
  const auto& users = port.users;
  tool();
  const auto it = std::find(port.users.begin(), port.users.end(), name);
  ASSERT_NE(it, users.end()) << name;
  port.selected = static_cast<int>(it - users.begin());
  tool().ListBox1Click();
}

RunOutcome UpgradeFixture::Upgrade(const std::string& name, const std::string& password) {
  Select(name);
  port.password = password;
  return RunUpgrade(tool(), port, platform);
}

std::vector<std::string> UpgradeFixture::LogTexts() const {
  std::vector<std::string> texts;
  for (const std::string& line : port.log) texts.push_back(line.substr(10));
  return texts;
}

std::string UpgradeFixture::Read(const std::string& relative) const {
  return demo::InstallationBuilder::ReadNative(Path(relative));
}

void UpgradeFixture::Write(const std::string& relative, const std::string& bytes) const {
  demo::InstallationBuilder::WriteNative(Path(relative), bytes);
}

std::vector<std::string> UpgradeFixture::Messages() const {
  std::vector<std::string> shown;
  for (const ShownMessage& m : platform.messages)
    shown.push_back(std::to_string(m.flags) + ":" + m.text);
  return shown;
}

}  // namespace dayledger::testing
