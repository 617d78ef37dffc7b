// verify against planted losses: each case damages an upgraded user's data
// the way a lossy upgrade or a later edit would, and the report must name it.
#include "verify/verify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "schedule/schedule_file.h"
#include "state/line_file.h"
#include "support/upgrade_fixture.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using Lines = std::vector<std::string>;

class VerifyTest : public testing::UpgradeFixture {
 protected:
  const ScheduleKey key = MakeScheduleKey(InstallationBuilder::DataKeyFor("pw"));
  const std::string merged = "users/enc/schedules/schedules.qbsd";

  Lines Merged() const { return DecodeScheduleBytes(Read(merged), true, key); }
  void WriteMerged(const Lines& lines) const {
    Write(merged, EncodeScheduleLines(LineList(lines), true, key));
  }
};

TEST_F(VerifyTest, PlantedLossesAreFoundAndNamed) {
  AddUsers({UserSpec{"enc", "10000", "pw", 2, 2, 1}});
  ASSERT_EQ(Upgrade("enc", "pw"), Outcome::kDone);
  const Lines upgraded = Merged();
  ASSERT_EQ(upgraded.size(), 3u + 1200u);
  const std::string group = "users/enc/groups/group1.qbd";
  const std::string group_bytes = Read(group);
  const std::string profile = "users/enc/profile.qbd";
  const std::string profile_bytes = Read(profile);
  // Where March 1990's two entries stand: months before it hold two each.
  const size_t march_1990 = 3 + 2 * ((1990 - 1980) * 12 + 2);
  const std::string backup_march = "upgrade_backup/enc/schedules/" + SchClass::FileName(1990, 3);
  const std::string backup_march_bytes = Read(backup_march);

  const struct {
    const char* name;
    std::function<void()> plant;
    size_t missing;
    size_t added;
    std::vector<Path> differing;
    bool accounted_for;
    const char* first_missing = "";  // its month, when named
  } cases[] = {
      {"nothing planted", [] {}, 0, 0, {}, true},
      {"a month's entries missing",
       [&] {
         Lines lines = upgraded;
         lines.erase(lines.begin() + march_1990, lines.begin() + march_1990 + 2);
         WriteMerged(lines);
       },
       2,
       0,
       {},
       false},
      // A full disk: the second half of the entries is gone, and the line
      // the cut went through.
      {"merged file cut short",
       [&] { Write(merged, Read(merged).substr(0, Read(merged).size() / 2)); },
       601,
       0,
       {},
       false},
      {"one entry changed",
       [&] {
         Lines lines = upgraded;
         lines[march_1990 + 1] += "!";
         WriteMerged(lines);
       },
       1,
       1,
       {},
       false},
      // The backup's month holds one entry twice: one merged line cannot stand for both.
      {"one of two identical entries lost",
       [&] {
         Lines month = DecodeScheduleBytes(backup_march_bytes, true, key);
         month.at(4) = month.at(3);
         Write(backup_march, EncodeScheduleLines(LineList(month), true, key));
         Lines lines = upgraded;
         lines.erase(lines.begin() + march_1990 + 1);
         WriteMerged(lines);
       },
       1,
       0,
       {},
       false},
      {"two months out of order",
       [&] {
         Lines lines = upgraded;
         std::rotate(lines.begin() + march_1990, lines.begin() + march_1990 + 2,
                     lines.begin() + march_1990 + 4);
         WriteMerged(lines);
       },
       2,
       2,
       {},
       false,
       "199004"},
      {"group file differs beyond its version line",
       [&] { Write(group, group_bytes + "extra\r\n"); },
       0,
       0,
       {builder.AppDir() / "users" / "enc" / "groups" / "group1.qbd"},
       false},
      {"profile differs beyond its version line",
       [&] {
         std::string damaged = profile_bytes;
         damaged.replace(damaged.find("#end#"), 5, "#end!#");
         Write(profile, damaged);
       },
       0,
       0,
       {builder.AppDir() / "users" / "enc" / "profile.qbd"},
       false},
      {"entry added after the upgrade",
       [&] {
         Lines lines = upgraded;
         lines.insert(lines.begin() + march_1990, "new entry");
         lines[2] = std::to_string(std::stoi(lines[2]) + 1);
         WriteMerged(lines);
       },
       0,
       1,
       {},
       true},
  };
  for (const auto& c : cases) {
    c.plant();
    VerifyReport report;
    ASSERT_EQ(Verify(installation, {"enc", "pw"}, &report).outcome, Outcome::kDone) << c.name;
    EXPECT_EQ(report.backup_entries, 1200) << c.name;
    EXPECT_EQ(report.missing.size(), c.missing) << c.name;
    EXPECT_EQ(report.added.size(), c.added) << c.name;
    EXPECT_EQ(report.files_differing, c.differing) << c.name;
    EXPECT_EQ(report.accounted_for(), c.accounted_for) << c.name;
    if (*c.first_missing) {
      EXPECT_EQ(report.missing.at(0).month, c.first_missing) << c.name;
    }
    WriteMerged(upgraded);
    Write(group, group_bytes);
    Write(profile, profile_bytes);
    Write(backup_march, backup_march_bytes);
  }
  // The entries named are the backup's own lines, byte for byte.
  Lines lines = upgraded;
  lines.erase(lines.begin() + march_1990 + 1);
  WriteMerged(lines);
  VerifyReport one;
  Verify(installation, {"enc", "pw"}, &one);
  ASSERT_EQ(one.missing.size(), 1u);
  EXPECT_EQ(one.missing[0].line, upgraded[march_1990 + 1]);
  VerifyReport wrong;
  EXPECT_EQ(Verify(installation, {"enc", "wrong"}, &wrong).outcome, Outcome::kRefused);
  EXPECT_EQ(wrong.backup_entries, 0) << "nothing read past the password";
  // A backup file the system cannot look at is never taken for none: the
  // comparison stops and names it.
  WriteMerged(upgraded);
  platform.unlookable_path = NativeOf("upgrade_backup/enc/groups/group1.qbd");
  VerifyReport unlooked;
  const Reply stopped = Verify(installation, {"enc", "pw"}, &unlooked);
  EXPECT_EQ(stopped.outcome, Outcome::kStopped);
  EXPECT_EQ(stopped.reason(), Say::kStoppedByError);
  EXPECT_TRUE(stopped.error.path.text().ends_with("groups\\group1.qbd"))
      << stopped.error.path.text();
}

}  // namespace
}  // namespace dayledger
