// The form in which Windows' wide functions take a path of any length:
// "\\?\C:\..." for a drive, "\\?\UNC\server\share\..." for a network
// path. Windows hands such a path to the file system as it stands, so it
// must be whole: backslashes only, no "." or ".." components.
#pragma once

#include <string>

namespace dayledger {

// Paths this long or longer need the form: CreateDirectoryW stops at 248
// characters, the other functions at MAX_PATH (260).
inline constexpr size_t kLongPathFrom = 248;

// `path` (absolute, UTF-8) in the long form; one already in it is kept.
std::string LongPathForm(const std::string& path);

// The long form where `path` needs it, else `path` as it is.
inline std::string ForWideApi(const std::string& path) {
  return path.size() >= kLongPathFrom ? LongPathForm(path) : path;
}

}  // namespace dayledger
