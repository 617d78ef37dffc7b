// The schedule cipher: each byte of a .qbsd file is shifted by the key byte
// at its offset modulo 40, the offset counted from the file's first byte.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace dayledger {

// The first 40 bytes of the data key, padded with zero bytes (a zero key
// byte leaves its byte unchanged).
using ScheduleKey = std::array<unsigned char, 40>;
ScheduleKey MakeScheduleKey(const std::string& data_key);

// Each works on the text where it lies: pass it moved to avoid a copy.
std::string Encipher(std::string plain, const ScheduleKey& key);
std::string Decipher(std::string stored, const ScheduleKey& key);

// Deciphered text to lines: a line ends only at a CR LF pair; a lone CR or
// LF stays inside the line; a piece after the last pair is dropped; each
// line is taken up to its first zero byte.
std::vector<std::string> SplitEncipheredLines(const std::string& plain);
// Lines to plain text for enciphering: each line up to its first zero byte,
// then CR LF.
std::string JoinEncipheredLines(const std::vector<std::string>& lines);

}  // namespace dayledger
