// The schedule cipher: each byte of a .qbsd file is shifted by the key byte
// at its offset modulo 40, the offset counted from the file's first byte.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace dayledger {

// The first 40 bytes of the data key, padded with zero bytes (a zero key
// byte leaves its byte unchanged).
using ScheduleKey = std::array<unsigned char, 40>;
ScheduleKey MakeScheduleKey(const std::string& data_key);

// Each works on the text where it lies: pass it moved to avoid a copy.
std::string Encipher(std::string plain, const ScheduleKey& key);
std::string Decipher(std::string stored, const ScheduleKey& key);
// The same for `size` bytes where they lie, as the part of a file that
// starts `offset` bytes into it.
void EncipherAt(char* bytes, size_t size, size_t offset, const ScheduleKey& key);
void DecipherAt(char* bytes, size_t size, size_t offset, const ScheduleKey& key);
// Bytes enciphered as the part of a file at offset `from` become the same
// text enciphered as the part at offset `to`, in one pass.
void MoveEnciphered(char* bytes, size_t size, size_t from, size_t to, const ScheduleKey& key);
// The end of the last CR LF pair that `stored` deciphers to at or after
// `begin`, or `begin` when there is none; deciphers only the bytes it looks
// at, from the end.
size_t EndOfLastPair(std::string_view stored, size_t begin, const ScheduleKey& key);
// Whether deciphering the bytes, the part of a file at `offset`, would give
// a zero byte; nothing is deciphered.
bool DeciphersToZero(std::string_view stored, size_t offset, const ScheduleKey& key);

// Calls `visit` with each line of deciphered text, a view into `plain`,
// until it returns false: a line ends only at a CR LF pair; a lone CR or LF
// stays inside the line; a piece after the last pair is dropped; each line
// is taken up to its first zero byte.
template <typename Visit>
void ForEachEncipheredLine(std::string_view plain, Visit&& visit) {
  size_t start = 0;
  for (size_t pair = plain.find("\r\n"); pair != std::string_view::npos;
       pair = plain.find("\r\n", start)) {
    const std::string_view line = plain.substr(start, pair - start);
    if (!visit(line.substr(0, line.find('\0')))) return;
    start = pair + 2;
  }
}
// The lines ForEachEncipheredLine visits.
std::vector<std::string> SplitEncipheredLines(const std::string& plain);
// Lines to plain text for enciphering: each line up to its first zero byte,
// then CR LF.
std::string JoinEncipheredLines(const std::vector<std::string>& lines);
// Appends JoinEncipheredLines(SplitEncipheredLines(plain)) to `text`: text
// without a zero byte is copied whole up to its last CR LF pair, without a
// string per line.
void AppendJoinedEncipheredLines(std::string_view plain, std::string* text);

}  // namespace dayledger
