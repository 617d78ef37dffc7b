// Data version codes: five digits ABBCC for version A.BB.CC.
#pragma once

#include <string>

namespace dayledger {

// The oldest data version, which has no anniversary data yet.
inline constexpr char kFirstVersion[] = "10000";

// "A.BB.CC" from the code; a part past the end of a short code is empty.
inline std::string VersionDigits(const std::string& code) {
  auto part = [&code](size_t pos, size_t count) {
    return pos < code.size() ? code.substr(pos, count) : std::string();
  };
  return part(0, 1) + "." + part(1, 2) + "." + part(3, 2);
}

// "1.03": the version as people name it in a sentence.
inline std::string ShortVersion(const std::string& code) {
  return VersionDigits(code).substr(0, 4);
}

// "v 1.02.00" and the like.
inline std::string ShownVersion(const std::string& code) { return "v " + VersionDigits(code); }

}  // namespace dayledger
