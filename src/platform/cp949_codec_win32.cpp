// CP949 conversion through the Windows code page functions.
#include "platform/cp949_codec.h"
#include "platform/windows_text.h"

namespace dayledger {

std::string Cp949ToUtf8Text(const std::string& cp949) { return Narrow(Widen(cp949, 949), CP_UTF8); }

std::string Utf8ToCp949Text(const std::string& utf8) { return Narrow(Widen(utf8, CP_UTF8), 949); }

}  // namespace dayledger
