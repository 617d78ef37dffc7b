// The .qbsd container: plain or enciphered lines, loaded and saved whole.
#include "schedule/schedule_file.h"

#include <cstdio>
#include <utility>

#include "platform/framework_error.h"
#include "platform/freed_memory.h"
#include "platform/platform.h"
#include "state/line_file.h"

namespace dayledger {

std::string EncodeScheduleLines(const LineList& lines, bool encrypted, const ScheduleKey& key) {
  return ScheduleText(encrypted).Take(lines.lines(), key);
}

std::string JoinScheduleLines(const std::vector<std::string>& lines, bool encrypted) {
  return encrypted ? JoinEncipheredLines(lines) : JoinLines(lines);
}

KeptText KeptText::Plain(std::string text) {
  KeptText kept;
  kept.end = text.size();
  kept.bytes = std::move(text);
  return kept;
}

namespace {

// Copies the piece after `text`: enciphered as it stands there when
// `encipher`, plain otherwise. An enciphered piece is re-enciphered for its
// new place in one pass, or not at all when the key bytes stay the same.
void AppendKept(std::string* text, const KeptText& piece, bool encipher, const ScheduleKey& key) {
  const size_t offset = text->size();
  text->append(piece.bytes, piece.begin, piece.size());
  char* added = text->data() + offset;
  if (piece.enciphered && encipher) {
    MoveEnciphered(added, piece.size(), piece.begin, offset, key);
  } else if (piece.enciphered) {
    DecipherAt(added, piece.size(), piece.begin, key);
  } else if (encipher) {
    EncipherAt(added, piece.size(), offset, key);
  }
}

}  // namespace

void ScheduleText::Add(KeptText piece) {
  size_ += piece.size();
  pieces_.push_back(std::move(piece));
}

std::string ScheduleText::Take(const std::vector<std::string>& header, const ScheduleKey& key) {
  std::string text = JoinScheduleLines(header, encrypted_);
  if (encrypted_) EncipherAt(text.data(), text.size(), 0, key);
  // One allocation of the whole size; each piece is put in its place while
  // fresh in the cache, and goes at once; what the pieces held goes back to
  // the system every few MB, so the text is held about once throughout.
  text.reserve(text.size() + size_);
  constexpr size_t kReturnEvery = 4 << 20;
  size_t unreturned = 0;
  for (KeptText& piece : pieces_) {
    AppendKept(&text, piece, encrypted_, key);
    unreturned += piece.size();
    std::string().swap(piece.bytes);
    if (unreturned >= kReturnEvery) {
      ReturnFreedMemory();
      unreturned = 0;
    }
  }
  pieces_.clear();
  size_ = 0;
  return text;
}

namespace {

// Adds the text's first `head_lines` lines (deciphered text when
// `encrypted`) to `head`; where the next line starts, or nullopt when the
// text ends first.
std::optional<size_t> ReadHead(std::string_view text, bool encrypted, size_t head_lines,
                               std::vector<std::string>* head) {
  std::optional<size_t> rest_start;
  auto visit = [&](std::string_view line) {
    if (head->size() == head_lines) {
      rest_start = static_cast<size_t>(line.data() - text.data());
      return false;
    }
    head->emplace_back(line);
    return true;
  };
  if (encrypted) {
    ForEachEncipheredLine(text, visit);
  } else {
    ForEachLine(text, visit);
  }
  return rest_start;
}

// The file's first `head_lines` lines, and the rest appended to `rest` as
// the text it is saved as; the bytes are deciphered where they lie.
std::vector<std::string> Decode(std::string bytes, bool encrypted, const ScheduleKey& key,
                                size_t head_lines, std::string* rest) {
  if (encrypted) bytes = Decipher(std::move(bytes), key);
  std::vector<std::string> head;
  const size_t rest_start = ReadHead(bytes, encrypted, head_lines, &head).value_or(bytes.size());
  const std::string_view after_head = std::string_view(bytes).substr(rest_start);
  if (encrypted) {
    AppendJoinedEncipheredLines(after_head, rest);
  } else {
    AppendJoinedLines(after_head, rest);
  }
  return head;
}

}  // namespace

std::vector<std::string> DecodeScheduleBytes(std::string bytes, bool encrypted,
                                             const ScheduleKey& key) {
  std::string no_rest;
  return Decode(std::move(bytes), encrypted, key, SIZE_MAX, &no_rest);
}

ScheduleFile::ScheduleFile(Platform& platform, const Path& app_dir, const std::string& user_name,
                           const std::string& file_name, bool encrypted,
                           const std::string& data_key)
    : platform_(platform),
      file_path_(ScheduleFolder(UserFolder(app_dir, user_name)) / file_name),
      key_(MakeScheduleKey(data_key)),
      encrypted_(encrypted) {}

void ScheduleFile::Load(size_t head_lines) {
  std::string bytes;
  ThrowIfFailed(platform_.ReadFile(file_path_, &bytes));
  if (head_lines != SIZE_MAX && KeepAsRead(bytes, head_lines)) return;
  std::string rest;
  if (head_lines != SIZE_MAX) rest.reserve(bytes.size());
  Lines.Assign(Decode(std::move(bytes), encrypted_, key_, head_lines, &rest), file_path_);
  rest_ = KeptText::Plain(std::move(rest));
}

bool ScheduleFile::KeepAsRead(std::string& bytes, size_t head_lines) {
  // The head is looked for in the first few KB, deciphered apart.
  constexpr size_t kHeadSpan = 4096;
  std::string_view start(bytes.data(), std::min(bytes.size(), kHeadSpan));
  std::string deciphered;
  if (encrypted_) {
    deciphered = Decipher(std::string(start), key_);
    start = deciphered;
  }
  std::vector<std::string> head;
  const std::optional<size_t> rest_begin = ReadHead(start, encrypted_, head_lines, &head);
  if (!rest_begin) return false;  // the head goes on past the span, or the text ends in it
  // The rest is kept as read when its lines joined again are its own bytes:
  // no zero byte, and nothing after the last CR LF pair (dropped by the
  // enciphered form); every break a CR LF pair, the last one included (the
  // plain form, which a zero byte ends).
  size_t rest_end;
  if (encrypted_) {
    rest_end = EndOfLastPair(bytes, *rest_begin, key_);
    const std::string_view rest(bytes.data() + *rest_begin, rest_end - *rest_begin);
    if (DeciphersToZero(rest, *rest_begin, key_)) return false;
  } else {
    rest_end = std::min(bytes.find('\0', *rest_begin), bytes.size());
    const std::string_view rest(bytes.data() + *rest_begin, rest_end - *rest_begin);
    if (!(rest.empty() || rest.ends_with("\r\n")) || !OnlyPairedBreaks(rest)) return false;
  }
  Lines.Assign(std::move(head), file_path_);
  rest_ = KeptText{std::move(bytes), *rest_begin, rest_end, encrypted_};
  return true;
}

void ScheduleFile::Save() {
  std::string text = JoinScheduleLines(Lines.lines(), encrypted_);
  if (encrypted_) EncipherAt(text.data(), text.size(), 0, key_);
  AppendKept(&text, rest_, encrypted_, key_);
  WriteFileOrThrow(platform_, file_path_, std::move(text));
}

KeptText ScheduleFile::TakeText() {
  std::string text = JoinScheduleLines(Lines.lines(), encrypted_);
  Lines.Clear();
  KeptText rest = std::exchange(rest_, KeptText());
  if (text.empty()) return rest;
  AppendKept(&text, rest, false, key_);
  return KeptText::Plain(std::move(text));
}

SchClass::SchClass(Platform& platform, const Path& app_dir, int year, int month,
                   const std::string& user_name, bool encrypted, const std::string& data_key,
                   size_t head_lines)
    : ScheduleFile(platform, app_dir, user_name, FileName(year, month), encrypted, data_key) {
  Load(head_lines);
}

std::string SchClass::FileName(int year, int month) {
  char name[32];
  std::snprintf(name, sizeof name, "%.4d%.2d", year, month);
  return std::string(name) + ".qbsd";
}

SchRepClass::SchRepClass(Platform& platform, const Path& app_dir, int /*year*/, int /*month*/,
                         const std::string& user_name, bool encrypted, const std::string& data_key)
    : ScheduleFile(platform, app_dir, user_name, kRepeatScheduleName, encrypted, data_key) {
  Load();
}

}  // namespace dayledger
