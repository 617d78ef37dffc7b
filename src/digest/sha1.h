// SHA-1 message digest (FIPS 180-1), fed in pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/status.h"

namespace dayledger {

class SHA1 {
 public:
  SHA1() { Restart(); }
  virtual ~SHA1() = default;

  void Restart();
  // Appends `count` bytes. On a finished or failed object it only sets failed;
  // a message longer than 2^64 - 1 bits sets failed and stops adding.
  void AddBytes(const unsigned char* bytes, size_t count);
  // Appends the bytes of a zero-terminated text, terminator excluded.
  void AddText(const char* text);
  // kOutOfRange if failed; otherwise finishes the message (once) and gives
  // the five words.
  Status GetDigest(uint32_t words[5]);

  bool finished() const { return finished_; }
  bool failed() const { return failed_; }

 private:
  void AddByte(unsigned char byte);
  void ProcessBlock();
  void PadMessage();

  uint32_t hash_[5] = {};
  uint32_t length_low_ = 0;   // message length in bits, low half
  uint32_t length_high_ = 0;  // and high half
  unsigned char block_[64] = {};
  int block_fill_ = 0;
  bool finished_ = false;
  bool failed_ = false;
};

// One hex-digest step: the lowercase hexadecimal SHA-1 digest of `text`.
std::string HexDigest(const std::string& text);
// `iterations` hex-digest steps, each hashing the previous result.
std::string IteratedHexDigest(const std::string& text, int iterations);

}  // namespace dayledger
