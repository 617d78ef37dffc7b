// Demo installations: templates, users and their data files.
#include "demo/installation_builder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "anniversary/anniversary_stage.h"
#include "digest/password_digests.h"
#include "floor/version_steps.h"
#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "schedule/schedule_cipher.h"
#include "schedule/schedule_file.h"
#include "state/profile.h"
#include "state/version_code.h"

namespace dayledger::demo {
namespace fs = std::filesystem;
namespace {

std::string Cp949(const std::string& utf8) { return Utf8ToCp949Text(utf8); }

std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

}  // namespace

InstallationBuilder::InstallationBuilder(std::string root) : root_(std::move(root)) {
  fs::create_directories(root_ + "/users");
}

void InstallationBuilder::WriteNative(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string InstallationBuilder::ReadNative(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string InstallationBuilder::UserDir(const std::string& name) const {
  return root_ + "/users/" + name;
}

Path InstallationBuilder::AppDir() const {
  return ToolPathFromNative(fs::absolute(root_).lexically_normal().string()).WithSuffix("\\");
}

std::string InstallationBuilder::MonthlyFile(int year, int month, const std::string& version,
                                             int entries) {
  std::vector<std::string> lines = {kScheduleHeader, version, std::to_string(entries)};
  for (int i = 0; i < entries; ++i) {
    char entry[96];
    std::snprintf(entry, sizeof entry, "%04d%02d%02d|%02d00|", year, month, i % 28 + 1, 9 + i % 9);
    lines.push_back(entry + Cp949("일정 " + std::to_string(i + 1) + " - 팀 회의"));
  }
  return Lines(lines);
}

std::string InstallationBuilder::DataKeyFor(const std::string& password_utf8) {
  return DataKeyOf(Cp949(password_utf8));
}

std::string InstallationBuilder::PasswordDigestFor(const std::string& password_utf8) {
  return Profile::PasswordDigest(Cp949(password_utf8));
}

std::string InstallationBuilder::RepeatTemplate() {
  return Lines({"#repeat schedule data#", "10200", "1", Cp949("매주|월|0900|주간 회의")});
}

std::string InstallationBuilder::AnniversaryTemplate(const std::string& name) {
  return Lines({"#anniversary data#", "10100", "2", Cp949(name + "|0101|신정"),
                Cp949(name + "|0815|광복절")});
}

void InstallationBuilder::WriteTemplates() {
  const std::string common = root_ + "/data/userscommon/";
  WriteNative(common + "repeat.qbsd", RepeatTemplate());
  for (const std::string& name : kAnniversaryCopyOrder) {
    WriteNative(common + name, AnniversaryTemplate(name));
  }
}

void InstallationBuilder::WriteUserList(const std::vector<std::string>& names) {
  std::vector<std::string> lines = {std::to_string(names.size())};
  for (const std::string& name : names) lines.push_back(Cp949(name));
  WriteNative(root_ + "/users/userlist.kvd", Lines(lines));
}

void InstallationBuilder::WriteUser(const UserSpec& user) {
  const std::string dir = UserDir(user.name);
  const bool encrypted = !user.password.empty();
  const ScheduleKey key = MakeScheduleKey(encrypted ? DataKeyFor(user.password) : "");
  auto schedule = [&](const std::string& plain) {
    if (!encrypted) return plain;
    return EncodeScheduleLines(LineList(SplitEncipheredLines(plain)), true, key);
  };

  WriteNative(
      dir + "/profile.qbd",
      Lines({kProfileHeader, user.version, Cp949(user.name), "0", "0", "0", "0", "0",
             encrypted ? PasswordDigestFor(user.password) : "", encrypted ? "1" : "0", "#end#"}));
  if (!VersionChain::Standard().MergesMonthsFrom(user.version)) {
    WriteNative(dir + "/schedules/schedules.qbsd",
                schedule(Lines({kScheduleHeader, user.version, "0"})));
  } else {
    for (int year = 1980; year <= 2029; ++year) {
      for (int month = 1; month <= 12; ++month) {
        WriteNative(dir + "/schedules/" + SchClass::FileName(year, month),
                    schedule(MonthlyFile(year, month, user.version, user.entries_per_month)));
      }
    }
  }
  if (user.version >= "10200")
    WriteNative(dir + "/schedules/repeat.qbsd", schedule(RepeatTemplate()));

  WriteNative(dir + "/group.qbd", Lines({"#group info#", user.version, Cp949("기본 그룹")}));
  fs::create_directories(dir + "/groups");
  fs::create_directories(dir + "/timetables");
  for (int i = 0; i < user.group_files; ++i) {
    WriteNative(dir + "/groups/group" + std::to_string(i + 1) + ".qbd",
                Lines({"#group data#", user.version, Cp949("가족 모임 " + std::to_string(i))}));
  }
  for (int i = 0; i < user.timetable_files; ++i) {
    WriteNative(dir + "/timetables/timetable" + std::to_string(i + 1) + ".qbd",
                Lines({"#timetable data#", user.version, Cp949("월|1교시|국어")}));
  }
  if (user.version >= "10100") {
    for (const std::string& name : kAnniversaryCopyOrder) {
      WriteNative(dir + "/anniversary/" + name,
                  Lines({"#anniversary data#", user.version, "1", Cp949("사용자 기념일")}));
    }
  }
}

}  // namespace dayledger::demo
