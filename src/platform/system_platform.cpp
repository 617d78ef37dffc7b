// The parts of the real platform that are the same on every system.
#include "platform/system_platform.h"

#include <algorithm>
#include <cctype>

#include "platform/cp949_codec.h"

namespace dayledger {

std::string SystemPlatform::Cp949ToUtf8(const std::string& cp949) { return Cp949ToUtf8Text(cp949); }

std::string SystemPlatform::Utf8ToCp949(const std::string& utf8) { return Utf8ToCp949Text(utf8); }

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool HasQbdExtension(const std::string& name) {
  return name.size() >= 4 && LowerAscii(name.substr(name.size() - 4)) == ".qbd";
}

void SortIgnoringCase(std::vector<std::string>* names) {
  std::sort(names->begin(), names->end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
  });
}

}  // namespace dayledger
