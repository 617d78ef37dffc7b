// The .qbsd container: plain or enciphered lines, loaded and saved whole.
#include "schedule/schedule_file.h"

#include <cstdio>
#include <utility>

#include "platform/framework_error.h"
#include "platform/line_file.h"
#include "platform/platform.h"

namespace dayledger {

std::string EncodeScheduleLines(const LineList& lines, bool encrypted, const ScheduleKey& key) {
  return ScheduleText(encrypted).Take(lines.lines(), key);
}

std::string ScheduleText::Joined(const std::vector<std::string>& lines) const {
  return encrypted_ ? JoinEncipheredLines(lines) : JoinLines(lines);
}

void ScheduleText::Add(const std::vector<std::string>& lines) {
  pieces_.push_back(Joined(lines));
  size_ += pieces_.back().size();
}

std::string ScheduleText::Take(const std::vector<std::string>& header, const ScheduleKey& key) {
  std::string text = Joined(header);
  // One allocation of the whole size; each piece goes as it is copied, so
  // the text is held once throughout.
  text.reserve(text.size() + size_);
  for (std::string& piece : pieces_) {
    text += piece;
    std::string().swap(piece);
  }
  pieces_.clear();
  size_ = 0;
  if (encrypted_) return Encipher(std::move(text), key);
  return text;
}

std::vector<std::string> DecodeScheduleBytes(std::string bytes, bool encrypted,
                                             const ScheduleKey& key) {
  if (!encrypted) return SplitLines(bytes);
  return SplitEncipheredLines(Decipher(std::move(bytes), key));
}

ScheduleFile::ScheduleFile(Platform& platform, const std::string& app_dir,
                           const std::string& user_name, const std::string& file_name,
                           bool encrypted, const std::string& data_key)
    : platform_(platform),
      app_dir_(app_dir),
      schedule_dir_(ScheduleFolder(app_dir, user_name)),
      user_name_(user_name),
      key_(MakeScheduleKey(data_key)),
      encrypted_(encrypted) {
  file_path_ = schedule_dir_ + file_name;
}

void ScheduleFile::Load() {
  std::string bytes;
  if (!platform_.ReadFile(file_path_, &bytes).ok()) throw CannotOpenFile(file_path_);
  Lines.Assign(DecodeScheduleBytes(std::move(bytes), encrypted_, key_), file_path_);
}

void ScheduleFile::Save() {
  WriteFileOrThrow(platform_, file_path_, EncodeScheduleLines(Lines, encrypted_, key_));
}

SchClass::SchClass(Platform& platform, const std::string& app_dir, int year, int month,
                   const std::string& user_name, bool encrypted, const std::string& data_key)
    : ScheduleFile(platform, app_dir, user_name, FileName(year, month), encrypted, data_key) {
  Load();
}

std::string SchClass::FileName(int year, int month) {
  char name[32];
  std::snprintf(name, sizeof name, "%.4d%.2d", year, month);
  return std::string(name) + ".qbsd";
}

SchRepClass::SchRepClass(Platform& platform, const std::string& app_dir, int year, int month,
                         const std::string& user_name, bool encrypted, const std::string& data_key)
    : ScheduleFile(platform, app_dir, user_name, "repeat.qbsd", encrypted, data_key),
      year_(year),
      month_(month) {
  Load();
}

}  // namespace dayledger
