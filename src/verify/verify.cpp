// The comparison behind `dayledger-upgrade verify`: every entry of the
// backup's monthly files must stand in the merged file in month order, and
// every other data file must equal the backup's (or the template the upgrade
// copied) apart from its version line.
#include "verify/verify.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>

#include "anniversary/anniversary_stage.h"
#include "floor/start_check_list.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "platform/framework_error.h"
#include "platform/path.h"
#include "schedule/monthly_files.h"
#include "schedule/schedule_file.h"
#include "schedule/unlocked_user.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "state/profile.h"
#include "state/version_code.h"

namespace dayledger {
namespace {

std::string ReadOrThrow(Platform& platform, const Path& path) {
  std::string bytes;
  ThrowIfFailed(platform.ReadFile(path, &bytes));
  return bytes;
}

// A file's own error, with the file it came from in front.
template <typename Parse>
auto ParsedFrom(const Path& path, Parse parse) {
  try {
    return parse();
  } catch (const FrameworkError& error) {
    if (error.path().empty()) {
      throw FrameworkError(path.text() + ": " + error.what(), error.kind(), path);
    }
    throw;
  }
}

bool SameApartFromVersionLine(std::vector<std::string> a, std::vector<std::string> b) {
  if (a.size() > 1) a[1].clear();
  if (b.size() > 1) b[1].clear();
  return a == b;
}

class Comparison {
 public:
  Comparison(Installation& installation, const UnlockedUser& user, VerifyReport& report)
      : platform_(installation.platform()),
        backup_(installation.BackupOf(user.name())),
        current_(user.folder().Normal()),
        app_dir_(installation.app_dir()),
        user_(user),
        report_(report) {}

  // `months`: the backup keeps its schedules month by month; otherwise they
  // were merged before this upgrade.
  void Schedules(bool months) {
    std::vector<VerifyEntry> kept;
    uint32_t total = 0;  // wraps as the upgrade's sum does
    auto keep = [&](const Path& path, const std::string& month) {
      const LineList lines(Schedule(path, true));
      total += ParsedFrom(path, [&] { return static_cast<uint32_t>(StrToInt(lines.Get(2))); });
      for (int i = 3; i < lines.Count(); ++i) kept.push_back({month, lines.Get(i)});
    };
    if (!months) keep(MergedSchedulePath(backup_), "");
    for (int year = kFirstScheduleYear; months && year <= kLastScheduleYear; ++year) {
      for (int month = 1; month <= 12; ++month) {
        const std::string name = SchClass::FileName(year, month);
        keep(ScheduleFolder(backup_) / name, name.substr(0, 6));
      }
    }
    const std::vector<std::string> merged = Schedule(MergedSchedulePath(current_), true);
    report_.backup_entries = static_cast<long long>(kept.size());
    report_.current_entries = std::max<long long>(0, static_cast<long long>(merged.size()) - 3);
    report_.count_found = merged.size() > 2 ? merged[2] : "";
    MatchInOrder(kept, merged);
    // An entry the scheduler added since may have raised the count with it.
    report_.count_expected = std::to_string(static_cast<int32_t>(total));
    const std::string with_added =
        std::to_string(static_cast<int32_t>(total + static_cast<uint32_t>(report_.added.size())));
    if (report_.count_found == with_added) report_.count_expected = with_added;
  }

  void OtherFiles() {
    Compare(RepeatSchedulePath, TemplatePath(app_dir_, kRepeatScheduleName).Normal(), true);
    Compare(GroupInfoPath, Path(), false);
    for (const auto folder : {GroupsFolder, TimetablesFolder}) {
      for (const std::string& name : ListQbdFiles(platform_, folder(backup_))) {
        Compare([&](const Path& user) { return folder(user) / name; }, Path(), false);
      }
    }
    for (const std::string& name : kAnniversaryCopyOrder) {
      Compare([&](const Path& user) { return AnniversaryFolder(user) / name; },
              TemplatePath(app_dir_, name).Normal(), false);
    }
    Compare(ProfilePath, Path(), false);
  }

 private:
  // A schedule file in the user's form, or plain (a template).
  std::vector<std::string> Schedule(const Path& path, bool user_form) {
    return (user_form ? user_ : UnlockedUser()).Decode(ReadOrThrow(platform_, path));
  }

  std::vector<std::string> Lines(const Path& path, bool schedule, bool user_form) {
    if (schedule) return Schedule(path, user_form);
    return SplitLines(ReadOrThrow(platform_, path));
  }

  // A file now (its path in a user's folder) against the backup's, or, where
  // the backup has none, against `template_path` (the template stays in its
  // plain form).
  void Compare(const std::function<Path(const Path&)>& in, const Path& template_path,
               bool schedule) {
    const Path kept = in(backup_);
    // A backup file that cannot be looked at is never taken for none: the
    // comparison stops and names it.
    const Result<PathKind> there = platform_.Inspect(kept);
    if (!there.ok()) throw CannotOpenFile(kept, there.status().code);
    const bool in_backup = *there == PathKind::kFile;
    if (!in_backup && template_path.empty()) return;
    const std::vector<std::string> before =
        in_backup ? Lines(kept, schedule, true) : Lines(template_path, schedule, false);
    const Path now = in(current_);
    if (SameApartFromVersionLine(before, Lines(now, schedule, true))) {
      ++report_.files_equal;
    } else {
      report_.files_differing.push_back(now);
    }
  }

  // Finds the backup's entries in the merged file, in their order; merged
  // lines left over were added since.
  void MatchInOrder(const std::vector<VerifyEntry>& kept, const std::vector<std::string>& merged) {
    std::map<std::string, std::vector<size_t>> where;
    for (size_t i = 3; i < merged.size(); ++i) where[merged[i]].push_back(i);
    std::vector<bool> matched(merged.size(), false);
    size_t next = 3;
    for (const VerifyEntry& entry : kept) {
      const auto found = where.find(entry.line);
      if (found != where.end()) {
        const auto at = std::lower_bound(found->second.begin(), found->second.end(), next);
        if (at != found->second.end()) {
          matched[*at] = true;
          next = *at + 1;
          continue;
        }
      }
      report_.missing.push_back(entry);
    }
    for (size_t i = 3; i < merged.size(); ++i) {
      if (!matched[i]) report_.added.push_back({"", merged[i]});
    }
  }

  Platform& platform_;
  Path backup_;
  Path current_;
  Path app_dir_;
  const UnlockedUser& user_;
  VerifyReport& report_;
};

}  // namespace

Reply VerifyNeedsPassword(Installation& installation, const VerifyRequest& request, bool* needed) {
  *needed = false;
  if (Reply refused = RefuseUserName(installation, request.user_name);
      refused.outcome != Outcome::kDone) {
    return refused;
  }
  Platform& platform = installation.platform();
  const Path user_folder = installation.UserFolder(request.user_name);
  const Result<Profile> profile = Profile::ReadWhole(platform, user_folder);
  if (!profile.ok()) {
    return Told(Outcome::kStopped, Say::kProfileDamaged, ProfilePath(user_folder).Normal());
  }
  *needed = profile->HasFlags() && profile->Encrypted();
  return Reply();
}

Reply Verify(Installation& installation, const VerifyRequest& request, VerifyReport* report,
             const VersionChain& chain) {
  *report = VerifyReport();
  Result<UserLock> lock = UserLock();
  Reply reply = Guarded([&]() -> Reply {
    if (Reply refused = RefuseUserName(installation, request.user_name);
        refused.outcome != Outcome::kDone) {
      return refused;
    }
    Platform& platform = installation.platform();
    const Path user_folder = installation.UserFolder(request.user_name);
    const Path backup_folder = installation.BackupOf(request.user_name);
    // What is compared is read under the user's lock, so that no upgrade or
    // restore changes it on the way. Where there is no backup, there is
    // nothing to compare and nothing is made.
    if (!SurelyMissing(platform, backup_folder)) {
      lock = installation.LockUser(request.user_name);
      if (lock.kind() == StatusKind::kBusy) {
        return Told(Outcome::kRefused, Say::kUserBusy);
      }
    }
    const Result<Profile> backup = Profile::ReadWhole(platform, backup_folder);
    const Result<PathKind> backup_there = platform.Inspect(backup_folder);
    if (!backup.ok() && backup_there.ok() && *backup_there != PathKind::kFolder) {
      return Told(Outcome::kStopped, Say::kNoBackupToCompare, backup_folder);
    }
    // A backup is there, but not what it was taken from.
    if (!backup.ok()) {
      return Told(Outcome::kStopped, Say::kBackupProfileUnreadable, ProfilePath(backup_folder));
    }
    if (backup->Version() == chain.target()) {
      Reply older = Told(Outcome::kStopped, Say::kBackupNotOlder, backup_folder);
      older.said.back().items = {ShownVersion(chain.target())};
      return older;
    }
    const Result<Profile> current = Profile::ReadWhole(platform, user_folder);
    if (!current.ok()) throw CannotOpenFile(ProfilePath(user_folder));
    if (current->Version() != chain.target()) {
      Reply refused = Told(Outcome::kRefused, Say::kNotUpgraded);
      refused.said.back().items = {ShownVersion(chain.target())};
      return refused;
    }
    // A profile too short to say counts as one whose data is not encrypted.
    const Result<UnlockedUser> user =
        current->HasFlags() ? UnlockedUser::Unlock(*current, request.user_name, user_folder,
                                                   Utf8ToCp949Text(request.password))
                            : UnlockedUser(request.user_name, user_folder);
    if (!user.ok()) return Told(Outcome::kRefused, Say::kWrongPassword);
    Comparison comparison(installation, *user, *report);
    comparison.Schedules(chain.MergesMonthsFrom(backup->Version()));
    comparison.OtherFiles();
    return Reply();
  });
  // Verify changes nothing, not even the lock's folders.
  if (lock.ok()) installation.Release(&*lock);
  return reply;
}

}  // namespace dayledger
