#include "platform/line_file.h"
#include "state/version_code.h"
#include "upgrade/texts.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

bool IsSafeUserName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string::npos;
}

std::string UpgradeTool::ProfilePath() const { return state_.UserDir() + "\\profile.qbd"; }

void UpgradeTool::FormCreate() {
  if (!FillUserList()) return;
  if (!user_names_.empty()) port_.SelectUser(0);
  ListBox1Click();
}

bool UpgradeTool::FillUserList() {
  LineList list;
  const std::string path = state_.AppDir + "\\users\\userlist.kvd";
  if (!platform_.TestOpen(path)) {
    Message(texts::kUserListMissing, kMbInformation);
    return false;
  }
  ReadLines(platform_, path, &list);
  port_.ClearUsers();
  user_names_.clear();
  for (int i = 0; i < StrToInt(list.Get(0)); ++i) {
    const std::string& name = list.Get(i + 1);
    user_names_.push_back(name);
    port_.AddUser(platform_.Cp949ToUtf8(name));
  }
  return true;
}

void UpgradeTool::ListBox1Click() {
  const int index = port_.SelectedUser();
  if (index < 0 || index >= static_cast<int>(user_names_.size())) {
    port_.SetUserLabel("");
    port_.SetEncryptionLabel("");
    port_.SetVersionLabel("");
    port_.SetPasswordEnabled(false);
    return;
  }
  state_.UserName = user_names_[static_cast<size_t>(index)];
  port_.SetUserLabel(platform_.Cp949ToUtf8(state_.UserName));
  // The name comes from a data file and becomes a path: never follow one
  // that leads outside users\.
  if (!IsSafeUserName(state_.UserName)) {
    Message(texts::kProfileDamaged, kMbError);
    return;
  }
  ReadLines(platform_, ProfilePath(), &state_.ProfileLines);
  if (state_.ProfileLines.Get(0) != "#profile data#") {
    Message(texts::kProfileDamaged, kMbError);
    return;
  }
  port_.SetVersionLabel(platform_.Cp949ToUtf8(ShownVersion(state_.ProfileLines.Get(1))));
  state_.Encrypted = state_.ProfileLines.Get(9) == "1";
  port_.SetEncryptionLabel(state_.Encrypted ? texts::kEncryptionOn : texts::kEncryptionOff);
  port_.SetPasswordEnabled(state_.Encrypted);
}

}  // namespace dayledger
