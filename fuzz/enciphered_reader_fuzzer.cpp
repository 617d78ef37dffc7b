// The enciphered schedule reader on any bytes and any key: no crash, what
// it reads is enciphered and read back unchanged, and the whole-text join
// agrees with the line by line one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "schedule/schedule_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The first 40 bytes choose the data key, the rest is the file.
  const std::string data_key = input.substr(0, 40);
  const std::string file = size > 40 ? input.substr(40) : std::string();
  const dayledger::ScheduleKey key = dayledger::MakeScheduleKey(data_key);
  for (const bool encrypted : {true, false}) {
    const std::vector<std::string> lines = dayledger::DecodeScheduleBytes(file, encrypted, key);
    const dayledger::LineList list(lines);
    const std::string stored = dayledger::EncodeScheduleLines(list, encrypted, key);
    if (encrypted && dayledger::DecodeScheduleBytes(stored, encrypted, key) != lines) std::abort();
  }
  std::string joined;
  dayledger::AppendJoinedEncipheredLines(file, &joined);
  if (joined != dayledger::JoinEncipheredLines(dayledger::SplitEncipheredLines(file))) std::abort();
  return 0;
}
