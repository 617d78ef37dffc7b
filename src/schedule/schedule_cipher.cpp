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

constexpr size_t kKeySize = std::tuple_size_v<ScheduleKey>;
constexpr size_t kWords = kKeySize;  // 40 words of 8 bytes: the key repeated 8 times
constexpr size_t kBlock = kWords * sizeof(uint64_t);
constexpr uint64_t kTop = 0x8080808080808080u;
using Pattern = std::array<unsigned char, kKeySize>;  // what each byte of 40 gets added

// The key bytes of the part of a file that starts `offset` bytes into it.
Pattern KeyAt(size_t offset, const ScheduleKey& key) {
  Pattern at;
  for (size_t i = 0; i < kKeySize; ++i) at[i] = key[(offset + i) % kKeySize];
  return at;
}

// The pattern repeated over 320 bytes, as forty 64-bit words.
std::array<uint64_t, kWords> Words(const Pattern& pattern) {
  std::array<unsigned char, kBlock> bytes;
  for (size_t i = 0; i < kBlock; ++i) bytes[i] = pattern[i % kKeySize];
  std::array<uint64_t, kWords> words;
  std::memcpy(words.data(), bytes.data(), kBlock);
  return words;
}

// Adds pattern[i mod 40] to byte i of the bytes, where they lie, eight bytes
// at a time: the bytes of a word are added without carries between them
// (the top bits are summed apart). No division per byte.
void Shift(char* bytes, size_t size, const Pattern& pattern) {
  const std::array<uint64_t, kWords> words = Words(pattern);
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
    bytes[start + i] =
        static_cast<char>(static_cast<unsigned char>(bytes[start + i]) + pattern[i % kKeySize]);
  }
}

Pattern Negated(Pattern pattern) {
  for (unsigned char& k : pattern) k = static_cast<unsigned char>(-k);
  return pattern;
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
  EncipherAt(plain.data(), plain.size(), 0, key);
  return plain;
}

std::string Decipher(std::string stored, const ScheduleKey& key) {
  DecipherAt(stored.data(), stored.size(), 0, key);
  return stored;
}

void EncipherAt(char* bytes, size_t size, size_t offset, const ScheduleKey& key) {
  Shift(bytes, size, KeyAt(offset, key));
}

void DecipherAt(char* bytes, size_t size, size_t offset, const ScheduleKey& key) {
  Shift(bytes, size, Negated(KeyAt(offset, key)));
}

void MoveEnciphered(char* bytes, size_t size, size_t from, size_t to, const ScheduleKey& key) {
  if (from % kKeySize == to % kKeySize) return;  // the same key bytes
  const Pattern old_key = KeyAt(from, key);
  Pattern change = KeyAt(to, key);
  for (size_t i = 0; i < kKeySize; ++i)
    change[i] = static_cast<unsigned char>(change[i] - old_key[i]);
  Shift(bytes, size, change);
}

size_t EndOfLastPair(std::string_view stored, size_t begin, const ScheduleKey& key) {
  auto plain = [&](size_t i) {
    return static_cast<char>(static_cast<unsigned char>(stored[i]) - key[i % kKeySize]);
  };
  for (size_t end = stored.size(); end >= begin + 2; --end) {
    if (plain(end - 2) == '\r' && plain(end - 1) == '\n') return end;
  }
  return begin;
}

bool DeciphersToZero(std::string_view stored, size_t offset, const ScheduleKey& key) {
  // A byte deciphers to zero where it equals its key byte: where the XOR
  // of the two has a zero byte.
  const Pattern at = KeyAt(offset, key);
  const std::array<uint64_t, kWords> words = Words(at);
  constexpr uint64_t kLow = 0x0101010101010101u;
  size_t start = 0;
  for (; start + kBlock <= stored.size(); start += kBlock) {
    for (size_t w = 0; w < kWords; ++w) {
      uint64_t word;
      std::memcpy(&word, stored.data() + start + w * 8, 8);
      const uint64_t x = word ^ words[w];
      if (((x - kLow) & ~x & kTop) != 0) return true;
    }
  }
  for (size_t i = 0; start + i < stored.size(); ++i) {
    if (static_cast<unsigned char>(stored[start + i]) == at[i % kKeySize]) return true;
  }
  return false;
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
