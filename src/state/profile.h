// A user's profile (profile.qbd): the one place that knows its layout and
// the password's digest. Line 0 names the file, line 1 is the data
// version, line 8 the password's digest, line 9 "1" when the data is
// encrypted; the upgrade rewrites only the version line and keeps the rest
// byte for byte. Reaching past the end raises the lines' own "List index out
// of bounds (%d)", naming the file.
#pragma once

#include <string>

#include "platform/path.h"
#include "platform/status.h"
#include "state/line_list.h"

namespace dayledger {

class Platform;

inline constexpr char kProfileHeader[] = "#profile data#";
// The key of data that is not encrypted: forty "0" characters.
inline const std::string kNoDataKey(40, '0');

class Profile {
 public:
  Profile() = default;
  explicit Profile(LineList lines) : lines_(std::move(lines)) {}

  // Reads the user's profile; "Cannot open file %s" when it cannot be read.
  static Profile Read(Platform& platform, const Path& user_folder);
  // The profile when it can be read, names itself and holds a version: the
  // read's failure, or kDamaged for one that does not. For the commands that
  // only compare.
  static Result<Profile> ReadWhole(Platform& platform, const Path& folder);

  bool Named() const { return lines_.Get(0) == kProfileHeader; }
  const std::string& Version() const { return lines_.Get(1); }
  bool Encrypted() const { return lines_.Get(9) == "1"; }
  // Whether the profile reaches its encryption flag (and the digest before it).
  bool HasFlags() const { return lines_.Count() > 9; }
  // Whether the password (CP949) is the one whose digest the profile holds.
  bool CheckPassword(const std::string& password) const;
  int LineCount() const { return lines_.Count(); }

  void SetVersion(const std::string& version) { lines_.Replace(1, version); }
  const LineList& lines() const { return lines_; }

  // The digest line 8 holds for a password (CP949).
  static std::string PasswordDigest(const std::string& password);

 private:
  LineList lines_;
};

}  // namespace dayledger
