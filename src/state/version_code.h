// Data version codes: five digits ABBCC for version A.BB.CC.
#pragma once

#include <optional>
#include <string>

namespace dayledger {

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

// The first step due for a data version this tool upgrades from.
inline std::optional<std::string> FirstStepFor(const std::string& code) {
  if (code == "10000") return "10100";
  if (code == "10100") return "10200";
  if (code == "10200") return "10300";
  return std::nullopt;
}

}  // namespace dayledger
