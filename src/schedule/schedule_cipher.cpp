// The schedule cipher: the key from the data key, and the byte transform.
#include "schedule/schedule_cipher.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>

namespace dayledger {
namespace {

// Adds the key byte at each offset modulo 40, counted from the file's first
// byte, to every byte of the part of the file, where it lies, eight bytes at
// a time: the key repeated over 320 bytes is forty 64-bit words, and the
// bytes of a word are added without carries between them (the top bits are
// summed apart). No division per byte.
void Shift(char* bytes, size_t size, size_t offset, const ScheduleKey& key, bool forward) {
  constexpr size_t kWords = std::tuple_size_v<ScheduleKey>;
  constexpr size_t kBlock = kWords * sizeof(uint64_t);
  std::array<unsigned char, kBlock> shift;
  for (size_t i = 0; i < kBlock; ++i) {
    const unsigned char k = key[(offset + i) % key.size()];
    shift[i] = forward ? k : static_cast<unsigned char>(-k);
  }
  std::array<uint64_t, kWords> words;
  std::memcpy(words.data(), shift.data(), kBlock);
  constexpr uint64_t kTop = 0x8080808080808080u;
  size_t start = 0;
  for (; start + kBlock <= size; start += kBlock) {
    for (size_t w = 0; w < kWords; ++w) {
      uint64_t word;
      std::memcpy(&word, bytes + start + w * 8, 8);
      word = ((word & ~kTop) + (words[w] & ~kTop)) ^ ((word ^ words[w]) & kTop);
      std::memcpy(bytes + start + w * 8, &word, 8);
    }
  }
  for (size_t i = 0; start + i < size; ++i) {
    bytes[start + i] = static_cast<char>(static_cast<unsigned char>(bytes[start + i]) + shift[i]);
  }
}

}  // namespace

ScheduleKey MakeScheduleKey(const std::string& data_key) {
  ScheduleKey key{};
  for (size_t i = 0; i < key.size() && i < data_key.size() && data_key[i] != '\0'; ++i) {
    key[i] = static_cast<unsigned char>(data_key[i]);
  }
  return key;
}

std::string Encipher(std::string plain, const ScheduleKey& key) {
  Shift(plain.data(), plain.size(), 0, key, true);
  return plain;
}

std::string Decipher(std::string stored, const ScheduleKey& key) {
  Shift(stored.data(), stored.size(), 0, key, false);
  return stored;
}

void EncipherAt(char* bytes, size_t size, size_t offset, const ScheduleKey& key) {
  Shift(bytes, size, offset, key, true);
}

std::vector<std::string> SplitEncipheredLines(const std::string& plain) {
  std::vector<std::string> lines;
  ForEachEncipheredLine(plain, [&](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

std::string JoinEncipheredLines(const std::vector<std::string>& lines) {
  // Sized once: a file's text is kept as it is made, without spare room.
  size_t size = 0;
  for (const std::string& line : lines) size += std::min(line.find('\0'), line.size()) + 2;
  std::string plain;
  plain.reserve(size);
  for (const std::string& line : lines) {
    plain.append(line, 0, line.find('\0'));
    plain += "\r\n";
  }
  return plain;
}

void AppendJoinedEncipheredLines(std::string_view plain, std::string* text) {
  const size_t last_pair = plain.rfind("\r\n");
  if (last_pair == std::string_view::npos) return;
  const std::string_view lines = plain.substr(0, last_pair + 2);
  if (lines.find('\0') == std::string_view::npos) {
    text->append(lines);
    return;
  }
  ForEachEncipheredLine(lines, [&](std::string_view line) {
    text->append(line);
    *text += "\r\n";
    return true;
  });
}

}  // namespace dayledger
