// UpgradeTool's user list and the selected user's details.
#include <algorithm>

#include "floor/start_check_list.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "platform/path.h"
#include "state/file_names.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

Reply UpgradeTool::LoadUsers() {
  return Guarded([this]() -> Reply {
    Result<UserList> users = installation_.Users();
    // A list that is there but cannot be opened is named with the system's reason.
    if (!users.ok() && users.kind() != StatusKind::kNotFound) ThrowIfFailed(users.status());
    if (!users.ok()) {
      // Started from elsewhere (the zip unpacked into a folder of its own, the
      // download folder): say where it looked, and where the program belongs.
      const Path path = UserListPath(state_.AppDir);
      Said missing{Say::kUserListMissing, NoticeKind::kInformation, path.Normal()};
      missing.also = installation_.InstallationAbove().value_or(Path());
      return Reply::Refused(std::move(missing), path);
    }
    // The names read before a damaged part of the list stay listed.
    user_names_ = users->names;
    shown_names_.clear();
    for (const std::string& name : user_names_) shown_names_.push_back(Cp949ToUtf8Text(name));
    if (!users->error.ok()) throw FrameworkError(users->error);
    return Reply();
  });
}

std::string UpgradeTool::NameAt(int row) const {
  if (row < 0 || row >= static_cast<int>(user_names_.size())) return "";
  return user_names_[static_cast<size_t>(row)];
}

Reply UpgradeTool::ShowUser(const std::string& user) {
  // What was shown before an error stays shown with it.
  UserView view;
  Reply reply = Guarded([&]() -> Reply {
    if (user.empty() ||
        std::find(user_names_.begin(), user_names_.end(), user) == user_names_.end()) {
      view = {"", "", false};
      return Reply();
    }
    state_.UserName = user;
    view.user = Cp949ToUtf8Text(state_.UserName);
    // The name comes from the user list and becomes a path: one the tool
    // cannot hold safely is never followed.
    if (Reply refused = RefuseUserName(installation_, state_.UserName);
        refused.outcome != Outcome::kDone) {
      return refused;
    }
    state_.UserProfile = Profile::Read(platform_, state_.UserDir());
    if (!state_.UserProfile.Named()) {
      return Reply::Refused({Say::kProfileDamaged, NoticeKind::kError},
                            ProfilePath(state_.UserDir()));
    }
    view.version = state_.UserProfile.Version();
    state_.Encrypted = state_.UserProfile.Encrypted();
    view.encrypted = state_.Encrypted;
    return Reply();
  });
  reply.view = view;
  return reply;
}

}  // namespace dayledger
