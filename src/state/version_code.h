// Data version codes: five digits ABBCC for version A.BB.CC.
#pragma once

#include <string>

namespace dayledger {

// The oldest version the upgrade reads, and the one it writes.
inline constexpr char kFirstVersion[] = "10000";
inline const std::string kTargetVersion = "10300";

// The step code that marks all steps of a stage done; written into no file.
inline constexpr char kAllStepsDone[] = "10301";

// "A.BB.CC" from the code; a part past the end of a short code is empty.
inline std::string VersionDigits(const std::string& code) {
  auto part = [&code](size_t pos, size_t count) {
    return pos < code.size() ? code.substr(pos, count) : std::string();
  };
  return part(0, 1) + "." + part(1, 2) + "." + part(3, 2);
}

// "v 1.02.00" and the like.
inline std::string ShownVersion(const std::string& code) { return "v " + VersionDigits(code); }

}  // namespace dayledger
