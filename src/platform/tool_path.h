// The tool's own paths: Windows-style, backslashes, CP949 bytes.
#pragma once

#include <string>

namespace dayledger {

// One spelling per location: "/" as "\", a doubled separator and a trailing
// one dropped ("\app\\users\u\" -> "\app\users\u").
std::string NormalPath(const std::string& path);
// The folder part of a normal path ("" when there is none).
std::string ParentFolder(const std::string& path);
// The last component of a normal path.
std::string BaseName(const std::string& path);

}  // namespace dayledger
