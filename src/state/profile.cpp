// The profile's reading and the password's digests.
#include "state/profile.h"

#include "digest/password_digests.h"
#include "platform/platform.h"
#include "state/file_names.h"
#include "state/line_file.h"

namespace dayledger {

Profile Profile::Read(Platform& platform, const Path& user_folder) {
  LineList lines;
  ReadLines(platform, ProfilePath(user_folder), &lines);
  return Profile(std::move(lines));
}

Result<Profile> Profile::ReadWhole(Platform& platform, const Path& folder) {
  const Path path = ProfilePath(folder);
  std::string bytes;
  if (const Status read = platform.ReadFile(path, &bytes); !read.ok()) return read;
  Profile profile(LineList(SplitLines(bytes)));
  if (profile.LineCount() < 2 || !profile.Named()) {
    return Status::Failed(StatusKind::kDamaged, path);
  }
  return profile;
}

bool Profile::CheckPassword(const std::string& password) const {
  return PasswordDigest(password) == lines_.Get(8);
}

std::string Profile::PasswordDigest(const std::string& password) {
  return StoredDigestOf(password);
}

}  // namespace dayledger
