// The line-file reader on any bytes: no crash, what it reads is written
// back and read again unchanged, and the whole-text join agrees with the
// line by line one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "state/line_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = dayledger::SplitLines(bytes);
  // A line holds no line break; so joining and splitting gives it back,
  // but for a last empty line, which a trailing break never adds.
  std::vector<std::string> expected = lines;
  while (!expected.empty() && expected.back().empty()) expected.pop_back();
  std::vector<std::string> again = dayledger::SplitLines(dayledger::JoinLines(lines));
  while (!again.empty() && again.back().empty()) again.pop_back();
  if (again != expected) std::abort();
  std::string joined;
  dayledger::AppendJoinedLines(bytes, &joined);
  if (joined != dayledger::JoinLines(lines)) std::abort();
  return 0;
}
