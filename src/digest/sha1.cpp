// SHA-1 and the iterated hex digest of the password.
#include "digest/sha1.h"

#include <cstdio>

namespace dayledger {
namespace {

uint32_t RotateLeft(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

}  // namespace

void SHA1::Restart() {
  hash_[0] = 0x67452301;
  hash_[1] = 0xEFCDAB89;
  hash_[2] = 0x98BADCFE;
  hash_[3] = 0x10325476;
  hash_[4] = 0xC3D2E1F0;
  length_low_ = 0;
  length_high_ = 0;
  block_fill_ = 0;
  finished_ = false;
  failed_ = false;
}

void SHA1::AddBytes(const unsigned char* bytes, size_t count) {
  if (count == 0) return;
  if (finished_ || failed_) {
    failed_ = true;
    return;
  }
  for (size_t i = 0; i < count && !failed_; ++i) AddByte(bytes[i]);
}

void SHA1::AddText(const char* text) {
  for (; *text != '\0'; ++text) AddBytes(reinterpret_cast<const unsigned char*>(text), 1);
}

void SHA1::AddByte(unsigned char byte) {
  block_[block_fill_++] = byte;
  length_low_ += 8;
  if (length_low_ == 0 && ++length_high_ == 0) failed_ = true;  // past 2^64 bits
  if (block_fill_ == 64) ProcessBlock();
}

void SHA1::ProcessBlock() {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) {
    w[t] = static_cast<uint32_t>(block_[t * 4]) << 24 |
           static_cast<uint32_t>(block_[t * 4 + 1]) << 16 |
           static_cast<uint32_t>(block_[t * 4 + 2]) << 8 | static_cast<uint32_t>(block_[t * 4 + 3]);
  }
  for (int t = 16; t < 80; ++t) w[t] = RotateLeft(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  uint32_t a = hash_[0], b = hash_[1], c = hash_[2], d = hash_[3], e = hash_[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f, k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const uint32_t temp = RotateLeft(a, 5) + f + e + w[t] + k;
    e = d;
    d = c;
    c = RotateLeft(b, 30);
    b = a;
    a = temp;
  }
  hash_[0] += a;
  hash_[1] += b;
  hash_[2] += c;
  hash_[3] += d;
  hash_[4] += e;
  block_fill_ = 0;
}

void SHA1::PadMessage() {
  // A single 1 bit, zeros, and the 64-bit big-endian length in bits.
  const uint32_t high = length_high_, low = length_low_;
  block_[block_fill_++] = 0x80;
  if (block_fill_ > 56) {
    while (block_fill_ < 64) block_[block_fill_++] = 0;
    ProcessBlock();
  }
  while (block_fill_ < 56) block_[block_fill_++] = 0;
  for (int i = 0; i < 4; ++i) block_[56 + i] = static_cast<unsigned char>(high >> (24 - 8 * i));
  for (int i = 0; i < 4; ++i) block_[60 + i] = static_cast<unsigned char>(low >> (24 - 8 * i));
  ProcessBlock();
}

Status SHA1::GetDigest(uint32_t words[5]) {
  if (failed_) return Status::Failed(StatusKind::kOutOfRange, Path());
  if (!finished_) {
    PadMessage();
    finished_ = true;
  }
  for (int i = 0; i < 5; ++i) words[i] = hash_[i];
  return Status::Ok();
}

namespace {

// Restart, AddText, GetDigest, then the words as "%.8x" each.
std::string HexDigestStep(SHA1& sha, const std::string& text) {
  sha.Restart();
  sha.AddText(text.c_str());
  uint32_t words[5] = {};
  IgnoreFailure(sha.GetDigest(words),
                "a text in memory is far shorter than the longest it refuses");
  char hex[41];
  for (int i = 0; i < 5; ++i) std::snprintf(hex + 8 * i, 9, "%.8x", words[i]);
  return std::string(hex, 40);
}

}  // namespace

std::string HexDigest(const std::string& text) {
  SHA1 sha;
  return HexDigestStep(sha, text);
}

std::string IteratedHexDigest(const std::string& text, int iterations) {
  // The working text is as long as the password needs, so a password of any
  // length is hashed whole; after the first step it holds 40 characters.
  SHA1 sha;
  std::string buffer = text;
  for (int i = 0; i < iterations; ++i) buffer = HexDigestStep(sha, buffer);
  return buffer;
}

}  // namespace dayledger
