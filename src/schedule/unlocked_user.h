// The user whose data a run reads and writes: its name and folder, whether
// its schedules are enciphered, and the key they are enciphered with once a
// password has unlocked it. The key never leaves the user: it hands out the
// readers and writers of its schedule files instead, each in its own form.
#pragma once

#include <string>
#include <vector>

#include "platform/path.h"
#include "platform/status.h"
#include "schedule/schedule_file.h"
#include "state/line_list.h"
#include "state/profile.h"

namespace dayledger {

class Platform;

class UnlockedUser {
 public:
  // A user whose data is not encrypted, or nobody yet: no key is used.
  explicit UnlockedUser(std::string name = {}, Path folder = {});

  // The user whose profile the password (CP949) unlocks: one whose data is
  // not encrypted whatever the password, an encrypted one only with the
  // password whose digest the profile holds (with the key one digest step
  // short of it); kWrongPassword otherwise. A profile too short for its
  // encryption flag raises "List index out of bounds (9)".
  static Result<UnlockedUser> Unlock(const Profile& profile, std::string name, Path folder,
                                     const std::string& password);

  const std::string& name() const { return name_; }  // CP949
  const Path& folder() const { return folder_; }
  bool encrypted() const { return encrypted_; }

  // The month's file, read with its first `head_lines` lines apart.
  SchClass Month(Platform& platform, const Path& app_dir, int year, int month,
                 size_t head_lines) const;
  // The repeating schedules as the template left them, read plain; the
  // caller chooses the form they are saved in.
  SchRepClass PlainRepeat(Platform& platform, const Path& app_dir) const;
  // A schedule file's text in the user's form, and its lines back.
  std::string Encode(const LineList& lines) const;
  std::vector<std::string> Decode(std::string bytes) const;
  // A schedule file put together a piece at a time, in the user's form, and
  // its bytes under `header`.
  ScheduleText NewText() const { return ScheduleText(encrypted_); }
  std::string Take(ScheduleText& text, const std::vector<std::string>& header) const;

 private:
  std::string name_;
  Path folder_;
  bool encrypted_ = false;
  std::string data_key_ = kNoDataKey;  // as the schedule classes are given it
  ScheduleKey key_ = MakeScheduleKey(kNoDataKey);
};

}  // namespace dayledger
