// The schedule cipher: the key from the data key, and the byte transform.
#include "schedule/schedule_cipher.h"

#include <algorithm>
#include <cstddef>

namespace dayledger {
namespace {}  // namespace

ScheduleKey MakeScheduleKey(const std::string& data_key) {
  ScheduleKey key{};
  for (size_t i = 0; i < key.size() && i < data_key.size() && data_key[i] != '\0'; ++i) {
    key[i] = static_cast<unsigned char>(data_key[i]);
  }
  return key;
}

std::string Encipher(std::string plain, const ScheduleKey& key) {
  for (size_t n = 0; n < plain.size(); ++n) {
    plain[n] = static_cast<char>(static_cast<unsigned char>(plain[n]) + key[n % key.size()]);
  }
  return plain;
}

std::string Decipher(const std::string& stored, const ScheduleKey& key) {
  std::string plain(stored.size(), '\0');
  for (size_t n = 0; n < stored.size(); ++n) {
    plain[n] = static_cast<char>(static_cast<unsigned char>(stored[n]) - key[n % key.size()]);
  }
  return plain;
}

std::vector<std::string> SplitEncipheredLines(const std::string& plain) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t pair = plain.find("\r\n"); pair != std::string::npos;
       pair = plain.find("\r\n", start)) {
    // Up to the line's first zero byte, taken once.
    const auto end = std::find(plain.begin() + static_cast<std::ptrdiff_t>(start),
                               plain.begin() + static_cast<std::ptrdiff_t>(pair), '\0');
    lines.emplace_back(plain.begin() + static_cast<std::ptrdiff_t>(start), end);
    start = pair + 2;
  }
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

}  // namespace dayledger
