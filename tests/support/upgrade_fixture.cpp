// The shared installation and the window flow over a headless view.
#include "support/upgrade_fixture.h"

#include <algorithm>

#include "support/expected_log.h"
#include "support/opened_installation.h"

namespace dayledger::testing {

UpgradeFixture::UpgradeFixture()
    : builder(platform.temp_dir() + "/app"), installation(OpenedOn(platform, builder.AppDir())) {
  builder.WriteTemplates();
  platform.window = [this] { return port.user_label; };
}

void UpgradeFixture::AddUsers(const std::vector<demo::UserSpec>& users) {
  std::vector<std::string> names;
  for (const demo::UserSpec& user : users) {
    builder.WriteUser(user);
    names.push_back(user.name);
  }
  builder.WriteUserList(names);
}

WindowFlow& UpgradeFixture::flow() {
  if (!flow_) {
    flow_ = std::make_unique<WindowFlow>(installation, port, platform);
    opened = flow_->Open();
  }
  return *flow_;
}

StageObserver& UpgradeFixture::notes() {
  if (!notes_) notes_ = std::make_unique<UpgradeTool>(installation, port);
  return *notes_;
}

void UpgradeFixture::Select(const std::string& name) {
  const auto& users = port.users;
  flow();
  const auto it = std::find(port.users.begin(), port.users.end(), name);
  ASSERT_NE(it, users.end()) << name;
  port.selected = static_cast<int>(it - users.begin());
  flow().UserClicked();
}

Reply UpgradeFixture::RunFromStart() {
  Reply reply = flow().StartClicked();
  if (reply.next == Next::kBackup) reply = flow().BackupTick();
  while (reply.next == Next::kStage) reply = flow().StageTick();
  return reply;
}

Outcome UpgradeFixture::Upgrade(const std::string& name, const std::string& password) {
  Select(name);
  port.password = password;
  return RunFromStart().outcome;
}

std::vector<std::string> UpgradeFixture::LogTexts() const { return WithoutStamps(port.log); }

std::string UpgradeFixture::Read(const std::string& relative) const {
  return demo::InstallationBuilder::ReadNative(NativeOf(relative));
}

void UpgradeFixture::Write(const std::string& relative, const std::string& bytes) const {
  demo::InstallationBuilder::WriteNative(NativeOf(relative), bytes);
}

std::string UpgradeFixture::RecordNamed(const std::string& user) const {
  return testing::RecordNamed(builder.AppDir(), user, platform.now);
}

}  // namespace dayledger::testing
