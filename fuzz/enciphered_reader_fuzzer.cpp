// The enciphered schedule reader on any bytes and any key: no crash, what
// it reads is enciphered and read back unchanged, the whole-text join
// agrees with the line by line one, and the looks into enciphered bytes
// agree with deciphering them.
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
  const std::string plain = dayledger::Decipher(file, key);
  if (dayledger::DeciphersToZero(file, 0, key) != (plain.find('\0') != std::string::npos)) {
    std::abort();
  }
  const size_t pair = plain.rfind("\r\n");
  if (dayledger::EndOfLastPair(file, 0, key) != (pair == std::string::npos ? 0 : pair + 2)) {
    std::abort();
  }
  // Moved from one place in a file to another, the text reads as if enciphered there.
  const size_t from = size % 97;
  const size_t to = size % 89;
  std::string moved = plain;
  dayledger::EncipherAt(moved.data(), moved.size(), from, key);
  dayledger::MoveEnciphered(moved.data(), moved.size(), from, to, key);
  dayledger::DecipherAt(moved.data(), moved.size(), to, key);
  if (moved != plain) std::abort();
  return 0;
}
