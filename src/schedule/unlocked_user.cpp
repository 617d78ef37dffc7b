// The unlocked user: the password checked and the key derived in one place,
// and the user's schedule files handed out with it.
#include "schedule/unlocked_user.h"

#include "digest/password_digests.h"

namespace dayledger {

UnlockedUser::UnlockedUser(std::string name, Path folder)
    : name_(std::move(name)), folder_(std::move(folder)) {}

Result<UnlockedUser> UnlockedUser::Unlock(const Profile& profile, std::string name, Path folder,
                                          const std::string& password) {
  UnlockedUser user(std::move(name), std::move(folder));
  if (!profile.Encrypted()) return user;
  if (!profile.CheckPassword(password)) {
    return Status::Failed(StatusKind::kWrongPassword, ProfilePath(user.folder_));
  }
  user.encrypted_ = true;
  user.data_key_ = DataKeyOf(password);
  user.key_ = MakeScheduleKey(user.data_key_);
  return user;
}

SchClass UnlockedUser::Month(Platform& platform, const Path& app_dir, int year, int month,
                             size_t head_lines) const {
  return SchClass(platform, app_dir, year, month, name_, encrypted_, data_key_, head_lines);
}

SchRepClass UnlockedUser::PlainRepeat(Platform& platform, const Path& app_dir) const {
  return SchRepClass(platform, app_dir, -1, -1, name_, false, data_key_);
}

std::string UnlockedUser::Encode(const LineList& lines) const {
  return EncodeScheduleLines(lines, encrypted_, key_);
}

std::vector<std::string> UnlockedUser::Decode(std::string bytes) const {
  return DecodeScheduleBytes(std::move(bytes), encrypted_, key_);
}

std::string UnlockedUser::Take(ScheduleText& text, const std::vector<std::string>& header) const {
  return text.Take(header, key_);
}

}  // namespace dayledger
