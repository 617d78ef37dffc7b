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

void ScheduleText::Add(std::string text) {
  size_ += text.size();
  pieces_.push_back(std::move(text));
}

std::string ScheduleText::Take(const std::vector<std::string>& header, const ScheduleKey& key) {
  std::string text = JoinScheduleLines(header, encrypted_);
  if (encrypted_) EncipherAt(text.data(), text.size(), 0, key);
  // One allocation of the whole size; each piece is enciphered as it is
  // copied, while it is fresh in the cache, and goes at once; what the
  // pieces held goes back to the system every few MB, so the text is held
  // about once throughout.
  text.reserve(text.size() + size_);
  constexpr size_t kReturnEvery = 4 << 20;
  size_t unreturned = 0;
  for (std::string& piece : pieces_) {
    const size_t offset = text.size();
    text += piece;
    if (encrypted_) EncipherAt(text.data() + offset, piece.size(), offset, key);
    unreturned += piece.size();
    std::string().swap(piece);
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

// The file's first `head_lines` lines, and the rest appended to `rest` as
// the text it is saved as; the bytes are deciphered where they lie.
std::vector<std::string> Decode(std::string bytes, bool encrypted, const ScheduleKey& key,
                                size_t head_lines, std::string* rest) {
  if (encrypted) bytes = Decipher(std::move(bytes), key);
  std::vector<std::string> head;
  size_t rest_start = bytes.size();
  auto visit = [&](std::string_view line) {
    if (head.size() == head_lines) {
      rest_start = static_cast<size_t>(line.data() - bytes.data());
      return false;
    }
    head.emplace_back(line);
    return true;
  };
  const std::string_view after_head = [&] {
    if (encrypted) {
      ForEachEncipheredLine(bytes, visit);
    } else {
      ForEachLine(bytes, visit);
    }
    return std::string_view(bytes).substr(rest_start);
  }();
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

ScheduleFile::ScheduleFile(Platform& platform, const std::string& app_dir,
                           const std::string& user_name, const std::string& file_name,
                           bool encrypted, const std::string& data_key)
    : platform_(platform),
      file_path_(ScheduleFolder(UserFolder(app_dir, user_name)) + file_name),
      key_(MakeScheduleKey(data_key)),
      encrypted_(encrypted) {}

void ScheduleFile::Load(size_t head_lines) {
  std::string bytes;
  if (!platform_.ReadFile(file_path_, &bytes).ok()) throw CannotOpenFile(file_path_);
  rest_.clear();
  if (head_lines != SIZE_MAX) rest_.reserve(bytes.size());
  Lines.Assign(Decode(std::move(bytes), encrypted_, key_, head_lines, &rest_), file_path_);
}

void ScheduleFile::Save() {
  std::string text = JoinScheduleLines(Lines.lines(), encrypted_);
  text += rest_;
  if (encrypted_) text = Encipher(std::move(text), key_);
  WriteFileOrThrow(platform_, file_path_, std::move(text));
}

std::string ScheduleFile::TakeText() {
  std::string text = JoinScheduleLines(Lines.lines(), encrypted_);
  Lines.Clear();
  if (text.empty()) return std::move(rest_);
  text += rest_;
  std::string().swap(rest_);
  return text;
}

SchClass::SchClass(Platform& platform, const std::string& app_dir, int year, int month,
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

SchRepClass::SchRepClass(Platform& platform, const std::string& app_dir, int year, int month,
                         const std::string& user_name, bool encrypted, const std::string& data_key)
    : ScheduleFile(platform, app_dir, user_name, kRepeatScheduleName, encrypted, data_key),
      year_(year),
      month_(month) {
  Load();
}

}  // namespace dayledger
