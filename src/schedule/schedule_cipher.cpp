// The schedule cipher: the key from the data key, and the byte transform.
#include "schedule/schedule_cipher.h"

namespace dayledger {
namespace {

std::string UpToZero(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

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
    lines.push_back(UpToZero(plain.substr(start, pair - start)));
    start = pair + 2;
  }
  return lines;
}

std::string JoinEncipheredLines(const std::vector<std::string>& lines) {
  std::string plain;
  for (const std::string& line : lines) {
    plain += UpToZero(line);
    plain += "\r\n";
  }
  return plain;
}

}  // namespace dayledger
