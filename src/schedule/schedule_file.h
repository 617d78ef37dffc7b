// The .qbsd container shared by the monthly and the repeating schedule
// files: a list of lines stored plain or enciphered with the data key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/path.h"
#include "schedule/schedule_cipher.h"
#include "state/file_names.h"
#include "state/line_list.h"

namespace dayledger {

class Platform;

// The first line of every schedule file.
inline constexpr char kScheduleHeader[] = "#schedule data#";

// The file's text in the chosen form: plain line text, or enciphered.
std::string EncodeScheduleLines(const LineList& lines, bool encrypted, const ScheduleKey& key);
// Lines as the text a file of the form saves them as, before enciphering.
std::string JoinScheduleLines(const std::vector<std::string>& lines, bool encrypted);

// A piece of a schedule file's text, kept in the bytes it came in: bytes
// [begin, end) of `bytes`, each line ended by CR LF. When `enciphered`,
// they are still enciphered as they stood `begin` bytes into their file.
struct KeptText {
  std::string bytes;
  size_t begin = 0;
  size_t end = 0;
  bool enciphered = false;

  // Plain text, all of it.
  static KeptText Plain(std::string text);
  size_t size() const { return end - begin; }
};

// A schedule file's text built a piece at a time (the merged file, a month
// at a time) and put together once: its lines are held as the text they
// are saved as, never as separate strings, and the whole about once.
class ScheduleText {
 public:
  explicit ScheduleText(bool encrypted) : encrypted_(encrypted) {}

  // Appends the piece, in whatever form it was kept.
  void Add(KeptText piece);
  // The file's bytes: the `header` lines, then everything added, enciphered
  // when the file is. What was added is given up.
  std::string Take(const std::vector<std::string>& header, const ScheduleKey& key);

 private:
  bool encrypted_;
  std::vector<KeptText> pieces_;
  size_t size_ = 0;
};

// A file's lines; the bytes are deciphered where they lie.
std::vector<std::string> DecodeScheduleBytes(std::string bytes, bool encrypted,
                                             const ScheduleKey& key);

class ScheduleFile {
 public:
  virtual ~ScheduleFile() = default;
  ScheduleFile(const ScheduleFile&) = delete;
  ScheduleFile& operator=(const ScheduleFile&) = delete;

  // Rewrites the whole file from Lines and the kept rest in the current
  // form; "Cannot create file %s" or "Stream write error" on failure.
  void Save();
  // Lines and the kept rest as the text the file saves them as; both are
  // given up.
  KeptText TakeText();

  const Path& path() const { return file_path_; }
  bool encrypted() const { return encrypted_; }

  LineList Lines;

 protected:
  ScheduleFile(Platform& platform, const Path& app_dir, const std::string& user_name,
               const std::string& file_name, bool encrypted, const std::string& data_key);
  // Fills Lines with the file's first `head_lines` lines and keeps the rest
  // as the text it is saved as, without a string per line: as read, when
  // the line rules leave it unchanged, so that a file whose header keeps
  // its length is saved again without deciphering its rest. "Cannot open
  // file %s" when it cannot be read.
  void Load(size_t head_lines = SIZE_MAX);
  void set_encrypted(bool encrypted) { encrypted_ = encrypted; }

 private:
  // Keeps `bytes` as read when the line rules leave their rest unchanged and
  // the head ends early in the file; false, changing nothing, otherwise.
  bool KeepAsRead(std::string& bytes, size_t head_lines);

  Platform& platform_;
  Path file_path_;
  ScheduleKey key_;
  bool encrypted_;
  KeptText rest_;
};

// One month of one user: schedules\YYYYMM.qbsd, read when constructed.
// Only its first `head_lines` lines are in Lines: the steps change the
// header alone, and a month may hold many thousand lines.
class SchClass : public ScheduleFile {
 public:
  SchClass(Platform& platform, const Path& app_dir, int year, int month,
           const std::string& user_name, bool encrypted, const std::string& data_key,
           size_t head_lines);

  static std::string FileName(int year, int month);
};

// The repeating schedules: schedules\repeat.qbsd, read when constructed.
// The year and month it is made with name no file: there is one for all.
class SchRepClass : public ScheduleFile {
 public:
  SchRepClass(Platform& platform, const Path& app_dir, int year, int month,
              const std::string& user_name, bool encrypted, const std::string& data_key);

  // Chooses the form of the next Save; reads and writes nothing.
  void SetEncrypted(bool encrypted) { set_encrypted(encrypted); }
};

}  // namespace dayledger
