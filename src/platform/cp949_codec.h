// CP949 <-> UTF-8 text conversion.
#pragma once

#include <string>

namespace dayledger {

// Bytes that are not CP949 become U+FFFD.
std::string Cp949ToUtf8Text(const std::string& cp949);
// Characters CP949 cannot hold become "?".
std::string Utf8ToCp949Text(const std::string& utf8);

}  // namespace dayledger
