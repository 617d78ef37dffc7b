// Whole histories on one installation, seeded and random: users whose names
// look like the tool's own, an earlier build's or each other's; the window
// and the terminal program; runs cut short by a power cut, a kill, an I/O
// error or a full disk at a random operation, the opening after them cut
// too, and the start after them; files another program holds or keeps from
// being deleted; journals and records a newer build left; the user's own
// edits; a second program working on the user meanwhile; restore, verify
// and check. After every step the promises of docs/safety.md hold.
// DAYLEDGER_LIFECYCLE_SEEDS=<n> plays n new seeds besides the fixed ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "check/preflight.h"
#include "commit/journal.h"
#include "demo/installation_builder.h"
#include "digest/sha1.h"
#include "floor/start_check_list.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "presenter/window_flow.h"
#include "restore/restore.h"
#include "schedule/schedule_cipher.h"
#include "schedule/schedule_file.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "support/fault_platform.h"
#include "support/headless_view.h"
#include "support/opened_installation.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"
#include "verify/verify.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using testing::FaultPlatform;
using Tree = std::map<std::string, std::string>;

// The histories the test command plays; the sanitizer build plays fewer.
#if defined(__SANITIZE_ADDRESS__)
constexpr unsigned kFixedSeeds = 2;
#else
constexpr unsigned kFixedSeeds = 24;
#endif

// The users a history picks from: first kim or 홍길동, then one or two of
// the others, names that the tool's places, an earlier build's or another
// user's could be mistaken for, and names with spaces, in Korean, or long.
// The test file system tells "Kim" from "kim", as Linux does.
const UserSpec kPool[] = {
    {"kim", "", "", 1, 2, 1},
    {"홍길동", "", "비밀번호", 1, 1, 1},
    {"Kim", "", "", 1, 1, 2},
    {".dlu-new-kim", "", "", 1, 1, 1},
    {".dlu-old-kim", "", "pw", 1, 1, 1},
    {"kim.lock", "", "", 1, 1, 1},
    {"kim.logs", "", "", 1, 2, 1},
    {"kim.before-restore-20261207-140509", "", "", 1, 1, 1},
    {"a b", "", "", 1, 1, 2},
    {"홍 길 동", "", "", 1, 1, 1},
    {"a-user-whose-name-runs-on-for-sixty-characters-in-all-xxxxxx", "", "", 1, 1, 1},
};
// Names no user may have: the tool's own folder's, a device's, one with a
// character Windows refuses or a trailing dot or space. Every program
// refuses such a user before anything and never touches it.
const char* const kUnsafeNames[] = {".dlu", ".DLU", "CON",  "nul.txt",
                                    "com1", "a?b",  "kim.", "kim "};

// Every layout is written to the disk once in a run of the tests and loaded
// from there into every history that has it: the histories spend their time
// on the tool, not on making thousands of small files. They lie in a folder
// in memory where the system keeps one (/dev/shm), which is removed at the
// end of the run.
class Layouts {
 public:
  static Layouts& Shared() {
    static Layouts layouts;
    return layouts;
  }
  Layouts() {
    namespace fs = std::filesystem;
    const fs::path in_memory = "/dev/shm";
    std::error_code error;
    const fs::path base =
        fs::is_directory(in_memory, error) ? in_memory : fs::temp_directory_path();
    std::string pattern = (base / "dayledger-layouts-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
  }
  ~Layouts() {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
  }
  // The native folder of a user laid out so.
  const std::string& UserFolder(const UserSpec& user) {
    const std::string key = user.name + "\n" + user.version + "\n" + user.password + "\n" +
                            std::to_string(user.entries_per_month) + "," +
                            std::to_string(user.group_files) + "," +
                            std::to_string(user.timetable_files);
    auto [found, added] = users_.try_emplace(key);
    if (added) {
      InstallationBuilder builder(NewRoot());
      builder.WriteUser(user);
      found->second = builder.UserDir(user.name);
    }
    return found->second;
  }
  // A native folder of its own.
  std::string NewRoot() { return root_ + "/" + std::to_string(++roots_); }

 private:
  std::string root_;
  std::map<std::string, std::string> users_;
  int roots_ = 0;
};

// What the history expects of one user.
struct Expected {
  UserSpec layout;
  int row = 0;                            // in the user list
  Tree folder = {};                       // the user's folder as it must be now
  Tree backup = {};                       // upgrade_backup\<user> as it must be now; empty for none
  std::map<std::string, Tree> kept = {};  // restore's kept copies, by name
  bool upgraded = false;
};

// The disk as one program sees it, where another program may finish its
// work at the very moment this one takes a lock.
class RacedDisk : public PlatformWrapper {
 public:
  explicit RacedDisk(Platform* disk) : PlatformWrapper(disk) {}
  Result<Lock> LockFile(const Path& path) override {
    if (before_lock) std::exchange(before_lock, nullptr)();
    return PlatformWrapper::LockFile(path);
  }
  std::function<void()> before_lock;
};

// How a run is cut short at its `at`th file-changing operation: a power cut
// before it (what was not flushed is lost; or, tearing writes, the names
// stay and unflushed bytes tear), a kill before it (every name and byte
// stays), an I/O error at it, or a disk full from it on.
struct Cut {
  enum Kind { kNone, kPowerCut, kTornPowerCut, kKill, kIoError, kFullDisk };
  Kind kind = kNone;
  int at = 0;
};

std::string Text(const Cut& cut, size_t operations) {
  static const char* const kWords[] = {"",
                                       "power cut before ",
                                       "power cut tearing writes before ",
                                       "kill before ",
                                       "I/O error at ",
                                       "disk full from "};
  return kWords[cut.kind] + std::to_string(cut.at) + " of " + std::to_string(operations);
}

void Arm(FaultPlatform& disk, const Cut& cut) {
  const bool crash = cut.kind != Cut::kNone && cut.kind <= Cut::kKill;
  disk.crash_before = crash ? cut.at : 0;
  disk.fail_at = cut.kind == Cut::kIoError ? cut.at : 0;
  disk.full_from = cut.kind == Cut::kFullDisk ? cut.at : 0;
}

// A file another program holds sharing nothing, or keeps from being
// deleted, at a start.
struct Hold {
  Path path;
  bool undeletable = false;
  std::string in_folder;  // its path in the user's folder, where it lies there
  bool stops = false;     // the opening must stop on it: a file of a whole journal, held
  bool aside = false;     // a file of an earlier copy waiting to be removed
};

// A tree's first components, each with what lies below it; a file there
// holds its bytes under "".
std::map<std::string, Tree> Split(const Tree& tree) {
  std::map<std::string, Tree> tops;
  for (const auto& [path, bytes] : tree) {
    const size_t cut = path.find('\\');
    if (cut == std::string::npos) {
      tops[path][""] = bytes;
      continue;
    }
    Tree& top = tops[path.substr(0, cut)];
    if (cut + 1 < path.size()) top[path.substr(cut + 1)] = bytes;
  }
  return tops;
}

// Whether a path in a user's folder names a work file of the tool's, or
// lies in a work folder.
bool IsWorkPath(const std::string& path) {
  for (size_t start = 0;; start = path.find('\\', start) + 1) {
    if (IsWorkFile(path.substr(start))) return true;
    if (path.find('\\', start) == std::string::npos) return false;
  }
}

class History {
 public:
  explicit History(unsigned seed) : random_(seed) {
    Layouts& layouts = Layouts::Shared();
    InstallationBuilder builder(layouts.NewRoot());
    builder.WriteTemplates();
    std::vector<size_t> picked = {Pick(2)};
    for (const size_t count = 2 + Pick(2); picked.size() < count;) {
      const size_t at = 2 + Pick(std::size(kPool) - 2);
      if (std::find(picked.begin(), picked.end(), at) == picked.end()) picked.push_back(at);
    }
    const char* versions[] = {"10000", "10100", "10200"};
    Note("users:");
    for (const size_t at : picked) {
      UserSpec layout = kPool[at];
      layout.version = versions[Pick(3)];
      if (Pick(2) == 0) layout.password = layout.password.empty() ? "pw" : "";
      users_.push_back({layout});
      Note(" \"" + layout.name + "\" " + layout.version +
           (layout.password.empty() ? " plain" : " enciphered"));
    }
    std::vector<Expected*> listed;
    for (Expected& user : users_) listed.push_back(&user);
    if (Pick(2) == 0) {
      unsafe_.push_back({{kUnsafeNames[Pick(std::size(kUnsafeNames))], "10000", "", 1, 1, 1}});
      listed.insert(listed.begin() + static_cast<long>(Pick(listed.size() + 1)), &unsafe_[0]);
      Note(" \"" + unsafe_[0].layout.name + "\" refused");
    }
    std::vector<std::string> names;
    for (Expected* user : listed) {
      user->row = static_cast<int>(names.size());
      names.push_back(user->layout.name);
    }
    builder.WriteUserList(names);
    app_dir_ = builder.AppDir();
    disk_.Load(builder.root(), app_dir_);
    for (Expected* user : listed) {
      disk_.Load(layouts.UserFolder(user->layout), UserDir(*user));
      user->folder = disk_.Snapshot(UserDir(*user));
    }
    Note("\n");
  }

  // Plays `steps` steps, checking after each; the first broken promise ends it.
  void Play(int steps) {
    const std::function<void(size_t)> kinds[] = {
        [&](size_t who) { UpgradeInWindow(who, std::nullopt, false); },
        [&](size_t who) {
          Edit(who);
          UpgradeInWindow(who, std::nullopt, false);
        },
        [&](size_t who) { UpgradeInTerminal(who); },
        [&](size_t who) { CutShort(who, Verb::kUpgrade); },
        [&](size_t who) { CutShort(who, Verb::kUpgrade); },
        [&](size_t who) { CutShort(who, Verb::kRestore); },
        [&](size_t who) { Edit(who); },
        [&](size_t who) { UpgradeInWindow(who, Other::kUpgrade, Pick(2) == 0); },
        [&](size_t who) { UpgradeInWindow(who, Other::kRestore, Pick(2) == 0); },
        [&](size_t who) { UpgradeInWindow(who, Other::kCut, Pick(2) == 0); },
        [&](size_t who) { UpgradeInWindow(who, Other::kRead, false); },
        [&](size_t who) { RestoreUser(who); },
        [&](size_t who) { ReadOnly(who, false); },
        [&](size_t who) { HeldRuns(who); },
        [&](size_t who) { NewerFormatLeft(who); },
        [&](size_t) { RefuseUnsafe(); },
    };
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
      const size_t who = Pick(users_.size());
      kinds[Pick(std::size(kinds))](who);
      CheckPromises();
    }
  }

  const std::string& steps() const { return steps_; }

 private:
  // What a second program does while the window waits: upgrade or restore
  // the user, run an upgrade cut short (by a kill, an I/O error or a full
  // disk: the window lives on), or verify and check while the window's run
  // holds the user's lock.
  enum class Other { kUpgrade, kRestore, kCut, kRead };

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  void Note(const std::string& text) { steps_ += text; }
  Path UserDir(const Expected& user) const { return app_dir_ / "users" / user.layout.name; }
  Path BackupDir(const Expected& user) const {
    return BackupRoot(app_dir_.Normal()) / user.layout.name;
  }
  Path Place(ToolPlace place, const Expected& user) const {
    return ToolPlaceFolder(app_dir_.Normal(), place) / user.layout.name;
  }
  static std::string Named(Verb verb, const Expected& user) {
    return (verb == Verb::kUpgrade ? "upgrade of " : "restore of ") + user.layout.name;
  }
  bool Listed(const std::string& name) const {
    return std::any_of(users_.begin(), users_.end(),
                       [&](const Expected& user) { return user.layout.name == name; });
  }

  // One run of `verb` for the user on `disk` as the terminal program runs
  // it, its questions answered by --yes, cut short as `cut` says; the kinds
  // of its operations into `kinds`. Like the terminal program, it goes no
  // further than an opening that stopped.
  Outcome Run(FaultPlatform& disk, Verb verb, const Expected& user, bool skip, const Cut& cut = {},
              std::string* kinds = nullptr) {
    std::vector<Said> notes;
    Result<Installation> opened = Installation::Open(disk, app_dir_, &notes);
    if (!opened.ok()) return Outcome::kStopped;
    Installation& installation = *opened;
    disk.operations = 0;
    const size_t first = disk.kinds.size();
    Arm(disk, cut);
    Outcome outcome = Outcome::kStopped;
    if (verb == Verb::kUpgrade) {
      testing::HeadlessView log;
      UpgradeTool tool(installation, log);
      tool.LoadUsers();
      tool.ShowUser(tool.NameAt(user.row));
      BoxedNotices answered(installation.platform(), disk);
      try {
        outcome = RunUpgrade(tool, {tool.NameAt(user.row), user.layout.password, skip, true, true},
                             answered)
                      .outcome;
      } catch (const testing::SimulatedCrash&) {  // the power cut ends the run there
      }
    } else {
      RestorePlan plan;
      std::vector<Path> undeleted;
      outcome = PlanRestore(installation, Utf8ToCp949Text(user.layout.name), &plan).outcome;
      if (outcome == Outcome::kDone)
        outcome = Restore(installation, &plan, &undeleted, true).outcome;
    }
    if (kinds) *kinds = disk.kinds.substr(first);
    return outcome;
  }

  // The user's folder once upgraded, found by an upgrade of a copy of the
  // disk as it is now with nothing held; nullopt when the user is upgraded
  // already or the upgrade stops on the data.
  std::optional<Tree> Upgradable(const Expected& user) {
    if (user.upgraded) return std::nullopt;
    FaultPlatform copy = Unheld();
    if (Run(copy, Verb::kUpgrade, user, true) != Outcome::kDone) return std::nullopt;
    return copy.Snapshot(UserDir(user));
  }
  // A copy of the disk as it is now, with nothing held.
  FaultPlatform Unheld() const {
    FaultPlatform copy = disk_;
    copy.unreadable.clear();
    copy.failing_delete_of.clear();
    return copy;
  }
  // What a run of `verb` makes of the user's folder: the folder upgraded,
  // or the backup given back.
  std::optional<Tree> Made(Verb verb, const Expected& user) {
    return verb == Verb::kUpgrade ? Upgradable(user) : std::optional<Tree>(user.backup);
  }

  // Whether the tree is at the target version, by its profile.
  static bool AtTarget(const Tree& folder) {
    const auto profile = folder.find("profile.qbd");
    return profile != folder.end() && SplitLines(profile->second).at(1) == "10300";
  }

  // Every file of the user's: the folder, the backup, and the user's own in
  // the tool's places but the run records and restore's kept copies (which
  // have promises of their own). What a start that stops or refuses leaves
  // as it found it; what other users' interrupted work left, the same start
  // may settle. A run that stops past its backup leaves that backup (the
  // folder as found) and the earlier copy it moved aside if that cannot go
  // yet: `past_backup` counts neither.
  Tree Files(const Expected& user, bool past_backup = false) {
    std::vector<Path> places = {UserDir(user)};
    for (const ToolPlace place : {ToolPlace::kNew, ToolPlace::kSwaps, ToolPlace::kKeeping}) {
      places.push_back(Place(place, user));
    }
    if (!past_backup) places.insert(places.end(), {BackupDir(user), Place(ToolPlace::kOld, user)});
    const Path root = app_dir_.Normal();
    Tree files;
    for (auto& [path, bytes] : disk_.Snapshot(app_dir_)) {
      const auto mine = [&](const Path& place) {
        const std::string top = root.RelativeOf(place);
        return path == top || path.rfind(top + "\\", 0) == 0;
      };
      if (path.back() != '\\' && std::any_of(places.begin(), places.end(), mine)) {
        files.emplace(path, bytes);
      }
    }
    return files;
  }

  // After a run of `verb` that may have happened: the folder is as it was
  // or exactly what the run makes of it (`made`), but for `stray`, a file in
  // it held so that it could not be deleted, which stays as it was; the
  // backup is the earlier one or exactly the folder as the run found it
  // (the latter where an upgrade that backed up happened) and verify then
  // accounts for everything; a new kept copy is the folder as a restore
  // found it. The expectations follow.
  void Settle(Expected& user, Verb verb, const std::optional<Tree>& made, bool backed_up,
              const std::string& where, const std::string& stray = "") {
    const Tree now = disk_.Snapshot(UserDir(user));
    const Tree backup = disk_.Snapshot(BackupDir(user));
    const Tree found = user.folder;
    Tree wanted = made.value_or(Tree());
    if (found.count(stray) != 0 && wanted.count(stray) == 0) {
      wanted[stray] = found.at(stray);
      // ... and so do the folders that hold it.
      for (size_t cut = stray.find('\\'); cut != std::string::npos;
           cut = stray.find('\\', cut + 1)) {
        wanted[stray.substr(0, cut + 1)];
      }
    }
    if (made && now == wanted && now != found) {
      user.folder = now;
      user.upgraded = AtTarget(now);
      if (verb == Verb::kUpgrade && backed_up) {
        EXPECT_TRUE(backup == found) << where << ": the backup is the folder as the run found it";
        user.backup = found;
        Installation installation = testing::OpenedOn(disk_, app_dir_);
        VerifyReport report;
        const Reply verified = Verify(
            installation, {Utf8ToCp949Text(user.layout.name), user.layout.password}, &report);
        EXPECT_TRUE(verified.outcome == Outcome::kDone && report.accounted_for())
            << where << ": verify accounts for everything";
      }
    } else {
      EXPECT_TRUE(now == found) << where
                                << ": the folder is neither as it was nor as the run makes it";
    }
    if (backup != user.backup) {
      EXPECT_TRUE(verb == Verb::kUpgrade && backup == found)
          << where << ": the backup is neither the earlier one nor the folder as found";
      user.backup = backup;
    }
    SettleKept(user, verb == Verb::kRestore ? &found : nullptr, where);
  }

  // Restore's kept copies: each stays as it was kept, and a new one is
  // whole, the folder as the restore found it (`found`; none where no
  // restore ran). The names of the new ones.
  std::vector<std::string> SettleKept(Expected& user, const Tree* found, const std::string& where) {
    std::vector<std::string> added;
    for (const auto& [name, copy] : Split(disk_.Snapshot(Place(ToolPlace::kKept, user)))) {
      const auto known = user.kept.find(name);
      if (known != user.kept.end()) {
        EXPECT_TRUE(copy == known->second) << where << ": the kept copy " << name << " changed";
        continue;
      }
      EXPECT_TRUE(found != nullptr && copy == *found)
          << where << ": " << name << " is not the folder as the restore found it";
      user.kept[name] = copy;
      added.push_back(name);
    }
    return added;
  }

  // The window, as a person drives it: opened, the user clicked, started,
  // and its timers run. With `other`, a second program works on the user
  // between the click and the start, or (`at_lock`) just as the start takes
  // the user's lock; or verifies and checks between the window's timers.
  void UpgradeInWindow(size_t who, std::optional<Other> other, bool at_lock) {
    Expected& user = users_[who];
    // Where another program's run was cut short, the window sometimes skips
    // its backup, so that its start meets the cut swap's leftovers alone.
    const bool skip = other == Other::kCut && Pick(4) == 0;
    static const char* const kOthers[] = {", upgraded ", ", restored ", ", another run cut short ",
                                          ", verified and checked while it holds the lock"};
    const std::string where =
        "window upgrade of " + user.layout.name + (other ? kOthers[static_cast<int>(*other)] : "") +
        (other && *other != Other::kRead ? (at_lock ? "as it takes the lock" : "meanwhile") : "") +
        (skip ? ", skipping its backup" : "");
    Note(where + "\n");
    // What the upgrade must make of the folder as the start finds it; a
    // cut run's leftovers are settled by the next start, from the folder
    // as both runs found it.
    std::optional<Tree> upgraded = Upgradable(user);
    {
      RacedDisk raced(&disk_);
      Installation installation = testing::OpenedOn(raced, app_dir_);
      testing::HeadlessView view;
      WindowFlow flow(installation, view, disk_);
      flow.Open();
      view.selected = user.row;
      view.password = user.layout.password;
      view.skip_backup = skip;
      flow.UserClicked();
      const auto second = [&] {
        if (other == Other::kCut) return CutRun(user, Verb::kUpgrade, false, true);
        if (other == Other::kUpgrade) UpgradeInTerminal(who);
        if (other == Other::kRestore) RestoreUser(who);
        upgraded = Upgradable(user);
      };
      if (other && *other != Other::kRead) at_lock ? void(raced.before_lock = second) : second();
      const size_t read_at = other == Other::kRead ? Pick(3) : 99;
      Reply reply = flow.StartClicked();
      for (size_t tick = 0; view.backup_timer || view.driver_timer; ++tick) {
        if (tick == read_at) ReadOnly(who, true);
        reply = view.backup_timer ? flow.BackupTick() : flow.StageTick();
      }
      if (other == Other::kCut) {
        // Whatever it made of the cut run's leftovers, the next start settles.
      } else if (user.upgraded) {
        EXPECT_EQ(disk_.MessageLines().back(),
                  "information:해당 사용자 데이터 버전은 이미 최신 버전입니다.")
            << where;
        EXPECT_EQ(view.version_label, "v 1.03.00") << where << ": the user as they now are";
      } else {
        EXPECT_EQ(reply.outcome == Outcome::kDone, upgraded.has_value()) << where;
      }
    }
    // The window closed; the next start goes on.
    EXPECT_TRUE(testing::Reopen(disk_, app_dir_)) << where;
    Settle(user, Verb::kUpgrade, upgraded, !skip, where);
  }

  // The terminal program's upgrade, its questions answered by --yes.
  void UpgradeInTerminal(size_t who) {
    Expected& user = users_[who];
    const std::string where = "terminal upgrade of " + user.layout.name;
    Note(where + "\n");
    const std::optional<Tree> upgraded = Upgradable(user);
    EXPECT_EQ(Run(disk_, Verb::kUpgrade, user, false) == Outcome::kDone, upgraded.has_value())
        << where;
    Settle(user, Verb::kUpgrade, upgraded, true, where);
  }

  // Where cuts ask most: among the backup swap's renames, right after its
  // record is flushed; among the commit's renames, just past its commit
  // point; and all through restore's copy of the folder it keeps.
  static std::vector<std::pair<size_t, size_t>> HotSpans(const std::string& kinds, Verb verb) {
    std::vector<std::pair<size_t, size_t>> spans;
    const size_t commit = kinds.rfind("WSF");
    if (commit != std::string::npos) spans.emplace_back(commit + 2, 8);
    const size_t record = kinds.find("WSF");
    if (verb == Verb::kUpgrade && record != commit) spans.emplace_back(record + 1, 12);
    const size_t copy = kinds.find("MW");
    const size_t kept = kinds.find('R', copy);
    if (verb == Verb::kRestore && kept != std::string::npos) {
      spans.emplace_back(copy, kept - copy + 3);
    }
    return spans;
  }

  // A cut at one of the run's operations: half of them anywhere, half in
  // the spans given. A power cut only where no other program lives on.
  Cut PickCut(const std::string& kinds, const std::vector<std::pair<size_t, size_t>>& spans,
              bool others_live) {
    Cut cut;
    cut.kind = others_live ? Cut::Kind(Cut::kKill + Pick(3)) : Cut::Kind(Cut::kPowerCut + Pick(5));
    if (spans.empty() || Pick(2) == 0) {
      cut.at = 1 + static_cast<int>(Pick(kinds.size() + 1));
    } else {
      const auto [from, length] = spans[Pick(spans.size())];
      cut.at = 1 + static_cast<int>(from + Pick(length));
    }
    return cut;
  }

  // What is left of a cut on the disk: a power cut's, a kill's; a failure
  // and a full disk end with the run.
  void Land(const Cut& cut) {
    if (cut.kind == Cut::kPowerCut || cut.kind == Cut::kTornPowerCut) {
      disk_.torn_writes = cut.kind == Cut::kTornPowerCut;
      disk_.Crash();
      disk_.torn_writes = false;
    } else {
      disk_.Kill();
    }
  }

  // One run of `verb` cut short at a random operation; what it leaves is
  // the next start's to settle. Another program's upgrade is killed half
  // the time between its backup swap's renames: the earlier backup moved
  // aside, the new copy not yet in its place.
  void CutRun(const Expected& user, Verb verb, bool skip, bool others_live) {
    FaultPlatform probe = disk_;
    std::string kinds;
    Run(probe, verb, user, skip, {}, &kinds);
    Cut cut = PickCut(kinds, HotSpans(kinds, verb), others_live);
    const size_t record = kinds.find("WSF");
    const size_t renames = kinds.find("RR", record);
    if (others_live && record != kinds.rfind("WSF") && renames != std::string::npos &&
        Pick(2) == 0) {
      cut = {Cut::kKill, static_cast<int>(renames + 2)};
    }
    Note((others_live ? "  another program's " : "") + Named(verb, user) + ", " +
         Text(cut, kinds.size()) + (skip ? ", no backup" : "") + (others_live ? "\n" : ""));
    Run(disk_, verb, user, skip, cut);
    Land(cut);
  }

  // A run cut short and the start after it: sometimes the opening is cut
  // short too, at an operation of its own, and sometimes a file of what was
  // left is held at the start, and let go before the next.
  void CutShort(size_t who, Verb verb) {
    Expected& user = users_[who];
    // A run with nothing to do is cut nowhere.
    if (verb == Verb::kRestore && user.backup.empty()) verb = Verb::kUpgrade;
    if (verb == Verb::kUpgrade && user.upgraded && !user.backup.empty()) verb = Verb::kRestore;
    const bool skip = verb == Verb::kUpgrade && Pick(4) == 0;
    const std::string where = Named(verb, user) + " cut short";
    const std::optional<Tree> made = Made(verb, user);
    CutRun(user, verb, skip, false);
    if (Pick(3) == 0) CutOpening();
    const std::string stray = Pick(3) != 0 ? HoldAtStart(user, verb, skip, where) : "";
    Note("\n");
    EXPECT_TRUE(testing::Reopen(disk_, app_dir_)) << where;
    Settle(user, verb, made, !skip, where, stray);
  }

  // The opening after a cut, itself cut short at an operation of its own;
  // the opening after it settles both.
  void CutOpening() {
    FaultPlatform probe = disk_;
    const size_t first = probe.kinds.size();
    testing::Reopen(probe, app_dir_);
    const std::string kinds = probe.kinds.substr(first);
    // Taking and letting go of the locks changes nothing.
    if (kinds.find_first_not_of('L') == std::string::npos) return;
    const Cut cut = PickCut(kinds, {}, false);
    Note(", the opening after it: " + Text(cut, kinds.size()));
    disk_.operations = 0;
    Arm(disk_, cut);
    try {
      testing::Reopen(disk_, app_dir_);
    } catch (const testing::SimulatedCrash&) {
    }
    Land(cut);
  }

  // A file of the user's, held by another program sharing nothing or kept
  // from being deleted: one of the folder's, of a journal left there (the
  // journal, a temporary, a target already renamed), of the backup, of an
  // earlier copy waiting to be removed, of a new copy, or of the copy a
  // restore was keeping; nullopt where there is none.
  std::optional<Hold> PickHold(const Expected& user) {
    std::vector<std::vector<Hold>> groups;
    const Tree folder = disk_.Snapshot(UserDir(user));
    const auto add = [&](const Path& base, const std::function<bool(const std::string&)>& wanted,
                         bool stops = false) {
      std::vector<Hold> files;
      const bool aside = base == Place(ToolPlace::kOld, user);
      for (const auto& [path, bytes] : disk_.Snapshot(base)) {
        if (path.back() == '\\' || !wanted(path)) continue;
        files.push_back({base / path, false, base == UserDir(user) ? path : "", stops, aside});
      }
      if (!files.empty()) groups.push_back(files);
    };
    const auto any = [](const std::string&) { return true; };
    add(UserDir(user), [](const std::string& path) { return !IsWorkPath(path); });
    if (const auto journal = folder.find(kJournalName); journal != folder.end()) {
      add(
          UserDir(user), [](const std::string& path) { return path == kJournalName; }, true);
      std::set<std::string> temporaries, renamed;
      for (const JournalRename& rename :
           DecodeJournal(journal->second).value_or(Journal()).renames) {
        if (!rename.checked) continue;
        if (folder.count(rename.temporary) != 0) temporaries.insert(rename.temporary);
        if (folder.count(rename.temporary) == 0) renamed.insert(rename.target);
      }
      for (const std::set<std::string>* names : {&temporaries, &renamed}) {
        add(
            UserDir(user), [&](const std::string& path) { return names->count(path) != 0; }, true);
      }
    }
    add(BackupDir(user), any);
    for (const ToolPlace place : {ToolPlace::kNew, ToolPlace::kKeeping, ToolPlace::kOld}) {
      add(Place(place, user), any);
    }
    if (groups.empty()) return std::nullopt;
    // An earlier copy left waiting is rare, and held half the time it is there.
    const bool aside = groups.back()[0].aside && Pick(2) == 0;
    const std::vector<Hold>& group = aside ? groups.back() : groups[Pick(groups.size())];
    Hold hold = group[Pick(group.size())];
    hold.undeletable = Pick(3) == 0;
    hold.stops = hold.stops && !hold.undeletable;
    return hold;
  }
  std::string Named(const Hold& hold) const {
    return (hold.undeletable ? "undeletable " : "held ") + app_dir_.Normal().RelativeOf(hold.path);
  }
  void Grip(const Hold& hold) {
    if (hold.undeletable) disk_.failing_delete_of = hold.path.Normal().text();
    if (!hold.undeletable) disk_.unreadable = {hold.path.Normal().text()};
  }
  void LetGo() {
    disk_.unreadable.clear();
    disk_.failing_delete_of.clear();
  }

  // At the start after a cut, a file of what it left held or kept from
  // being deleted: the opening goes through, or stops changing nothing, and
  // never takes a held file for a lost one; an upgrade run again then goes
  // through or stops as HeldRun says. Then the hold is let go. The held
  // file's path in the user's folder, where it lies there.
  std::string HoldAtStart(Expected& user, Verb verb, bool skip, const std::string& where) {
    const std::optional<Hold> hold = PickHold(user);
    if (!hold) return "";
    Note(", at the start: " + Named(*hold));
    const Tree before = Files(user);
    Grip(*hold);
    std::vector<Said> told;
    const bool opened = Installation::Open(disk_, app_dir_, &told).ok();
    const std::string notes = RecoveryMessage(disk_, told);
    EXPECT_EQ(notes.find(texts::kChangeLost), std::string::npos)
        << where << ": a held file taken for a lost one: " << notes;
    if (hold->stops) {
      EXPECT_FALSE(opened) << where << ": went on, held";
    }
    // A journal that cannot be deleted is carried through first: its change
    // was saved, and the journal stays for the next start to end.
    if (hold->undeletable && hold->in_folder == kJournalName) {
      EXPECT_EQ(disk_.Snapshot(UserDir(user)).count(kJournalName), 1u) << where;
    } else if (!opened) {
      EXPECT_TRUE(Files(user) == before) << where << ": the held start changed it";
    } else if (verb == Verb::kUpgrade) {
      Note(", upgrade again");
      HeldRun(user, verb, skip, *hold, where);
    }
    LetGo();
    return hold->in_folder;
  }

  // One run of the terminal program with `hold` gripped, let go after: it
  // goes through, or it stops changing nothing (past its backup, nothing
  // but that backup); an earlier copy that cannot be removed stops no run
  // that would go through without it. Whether it went through.
  bool HeldRun(Expected& user, Verb verb, bool skip, const Hold& hold, const std::string& where) {
    FaultPlatform unheld = Unheld();
    const bool would = Run(unheld, verb, user, skip) == Outcome::kDone;
    const Tree before = Files(user, true);
    Grip(hold);
    const bool done = Run(disk_, verb, user, skip) == Outcome::kDone;
    LetGo();
    EXPECT_TRUE(done || Files(user, true) == before) << where << ": it stopped, but changed";
    EXPECT_TRUE(done == would || !hold.aside) << where << ": an earlier copy held stopped it";
    return done;
  }

  // Runs of the terminal program, each with a file of the user's held or
  // kept from being deleted (HeldRun); let go, the next start settles what
  // they left.
  void HeldRuns(size_t who) {
    Expected& user = users_[who];
    Note("held runs of " + user.layout.name + ":");
    for (size_t runs = 1 + Pick(3); runs > 0 && !::testing::Test::HasFailure(); --runs) {
      const Verb verb = user.backup.empty() || Pick(2) == 0 ? Verb::kUpgrade : Verb::kRestore;
      const bool skip = verb == Verb::kUpgrade && Pick(4) == 0;
      const std::optional<Hold> hold = PickHold(user);
      const std::string run = std::string(verb == Verb::kUpgrade ? "upgrade" : "restore") +
                              (skip ? " without backup" : "") + ", " +
                              (hold ? Named(*hold) : "nothing held");
      const std::string where = "held runs of " + user.layout.name + ": " + run;
      Note(" " + run + ";");
      const std::optional<Tree> made = Made(verb, user);
      const bool done = hold ? HeldRun(user, verb, skip, *hold, where)
                             : Run(disk_, verb, user, skip) == Outcome::kDone;
      Settle(user, verb, done ? made : std::nullopt, !skip, where, hold ? hold->in_folder : "");
    }
    Note("\n");
    EXPECT_TRUE(testing::Reopen(disk_, app_dir_)) << "after held runs";
  }

  // A journal, or a backup swap's record, that a newer build left: every
  // opening stops and changes nothing, so no window lists anybody, until it
  // is taken away; then the next opening goes on (and removes what is left
  // of the journal's change as a work file).
  void NewerFormatLeft(size_t who) {
    const Expected& user = users_[who];
    const bool journal = Pick(2) == 0;
    const std::string where = std::string(journal ? "a journal" : "a swap record") +
                              " of a newer format left for " + user.layout.name;
    Note(where + "\n");
    const std::string moved = "#profile#\r\n10400\r\n";
    const std::string entry =
        "profile.qbd\t" + std::to_string(moved.size()) + "\t" + HexDigest(moved);
    const std::string body = journal ? "dayledger journal 3\nR\t.dlu-1\t" + entry + "\nF\t\n"
                                     : "dayledger swap 2\nA\t1\nE\t" + entry + "\n";
    Path left = UserDir(user) / kJournalName;
    if (journal) {
      Put(UserDir(user) / ".dlu-1", moved);
    } else {
      left = Place(ToolPlace::kSwaps, user);
      (void)testing::OpenedOn(disk_, app_dir_).MakePlace(ToolPlace::kSwaps);
    }
    Put(left, body + "C\t" + HexDigest(body) + "\n");
    const Tree before = Files(user);
    std::vector<Said> notes;
    EXPECT_FALSE(Installation::Open(disk_, app_dir_, &notes).ok()) << where;
    EXPECT_NE(RecoveryMessage(disk_, notes).find(texts::kNewerFormat), std::string::npos) << where;
    EXPECT_TRUE(Files(user) == before) << where << ": changed";
    (void)disk_.DeleteFile(left);
    (void)disk_.SyncFolder(left.Parent());
    EXPECT_TRUE(testing::Reopen(disk_, app_dir_)) << where << ", once taken away";
  }
  void Put(const Path& path, const std::string& bytes) {
    (void)disk_.WriteFile(path, bytes);
    (void)disk_.SyncFile(path);
    (void)disk_.SyncFolder(path.Parent());
  }

  // The user's own edits in the scheduler, at the user's own version.
  void Edit(size_t who) {
    Expected& user = users_[who];
    const Path folder = UserDir(user);
    std::string what;
    switch (Pick(user.upgraded ? 2 : 4)) {
      case 0:
        what = "a group added";
        (void)disk_.WriteFile(
            folder / "groups" / ("added" + std::to_string(edits_++) + ".qbd"),
            JoinLines({"#group data#", SplitLines(user.folder.at("profile.qbd")).at(1),
                       Utf8ToCp949Text("새 그룹")}));
        break;
      case 1:
        what = "a group deleted";
        // The first group file, where there is one.
        if (const auto group = user.folder.upper_bound("groups\\");
            group != user.folder.end() && group->first.rfind("groups\\", 0) == 0) {
          (void)disk_.DeleteFile(folder / group->first);
        }
        break;
      case 2: {
        const int year = 1980 + static_cast<int>(Pick(50));
        const int month = 1 + static_cast<int>(Pick(12));
        what = "entries added to " + std::to_string(year) + "-" + std::to_string(month);
        const std::string plain =
            InstallationBuilder::MonthlyFile(year, month, user.layout.version, 3);
        const bool enciphered = !user.layout.password.empty();
        (void)disk_.WriteFile(
            folder / "schedules" / SchClass::FileName(year, month),
            enciphered ? EncodeScheduleLines(
                             LineList(SplitEncipheredLines(plain)), true,
                             MakeScheduleKey(InstallationBuilder::DataKeyFor(user.layout.password)))
                       : plain);
        break;
      }
      default:
        what = "a month deleted";
        (void)disk_.DeleteFile(folder / "schedules" /
                               SchClass::FileName(1990, 1 + static_cast<int>(Pick(12))));
        break;
    }
    Note("edit of " + user.layout.name + ": " + what + "\n");
    // The scheduler saved it long before any power cut.
    for (const auto& [path, bytes] : disk_.Snapshot(folder)) {
      if (path.back() != '\\') (void)disk_.SyncFile(folder / path);
    }
    for (const char* changed : {"groups", "schedules"}) (void)disk_.SyncFolder(folder / changed);
    user.folder = disk_.Snapshot(folder);
  }

  // restore, sometimes of two plans made in the same second and confirmed
  // one after the other: each gives the backup back byte for byte and keeps
  // the folder it replaced, whole, at exactly the name it shows.
  void RestoreUser(size_t who) {
    Expected& user = users_[who];
    const size_t times = Pick(3) == 0 ? 2 : 1;
    const std::string where =
        "restore of " + user.layout.name + (times == 2 ? ", planned twice in one second" : "");
    Note(where + "\n");
    Installation installation = testing::OpenedOn(disk_, app_dir_);
    std::vector<RestorePlan> plans(times);
    for (RestorePlan& plan : plans) {
      const Reply planned = PlanRestore(installation, Utf8ToCp949Text(user.layout.name), &plan);
      if (user.backup.empty()) {
        EXPECT_EQ(planned.outcome, Outcome::kRefused) << where;
        return;
      }
      ASSERT_EQ(planned.outcome, Outcome::kDone) << where;
    }
    for (RestorePlan& plan : plans) {
      std::vector<Path> undeleted;
      const Tree found = user.folder;
      EXPECT_EQ(Restore(installation, &plan, &undeleted, true).outcome, Outcome::kDone) << where;
      const Tree now = disk_.Snapshot(UserDir(user));
      EXPECT_TRUE(now == user.backup) << where << ": the backup given back byte for byte";
      const std::vector<std::string> kept = SettleKept(user, &found, where);
      EXPECT_TRUE(kept.size() == 1 && plan.aside_dir == Place(ToolPlace::kKept, user) / kept[0])
          << where << ": the folder before kept at another name than " << plan.aside_dir.text();
      user.folder = now;
      user.upgraded = AtTarget(now);
    }
  }

  // verify and check: whatever they find, they change nothing, and check
  // finds the upgrade would go through exactly where it would; while
  // another program's upgrade holds the user's lock, both refuse.
  void ReadOnly(size_t who, bool locked) {
    const Expected& user = users_[who];
    const std::string where = "verify and check of " + user.layout.name;
    Note(locked ? "" : where + "\n");
    const Tree before = disk_.Snapshot(app_dir_);
    Installation installation = testing::OpenedOn(disk_, app_dir_);
    VerifyReport report;
    const Reply verified =
        Verify(installation, {Utf8ToCp949Text(user.layout.name), user.layout.password}, &report);
    UpgradeDryRun dry_run;
    std::vector<PreflightProblem> problems;
    const Reply checked = CheckUser(installation, Utf8ToCp949Text(user.layout.name),
                                    user.layout.password, dry_run, &problems);
    if (locked) {
      EXPECT_TRUE(verified.outcome == Outcome::kRefused && verified.reason() == Say::kUserBusy)
          << where << ": verify while the lock is held";
      EXPECT_NE(checked.outcome, Outcome::kDone) << where << ": check while the lock is held";
    } else {
      EXPECT_EQ(checked.outcome == Outcome::kDone, Upgradable(user).has_value()) << where;
    }
    EXPECT_TRUE(disk_.Snapshot(app_dir_) == before) << where << " changed the disk";
  }

  // A user whose name the tool cannot hold: the window, the terminal
  // program's upgrade and restore, verify and check each refuse it, and
  // nothing on the disk changes.
  void RefuseUnsafe() {
    if (unsafe_.empty()) return;
    const Expected& user = unsafe_[0];
    const std::string where = "every program on \"" + user.layout.name + "\"";
    const std::string refusal = std::string("error:") + texts::kUnsafeUserName + user.layout.name;
    Note(where + "\n");
    const Tree before = disk_.Snapshot(app_dir_);
    Installation installation = testing::OpenedOn(disk_, app_dir_);
    testing::HeadlessView view;
    WindowFlow flow(installation, view, disk_);
    flow.Open();
    view.selected = user.row;
    flow.UserClicked();
    EXPECT_EQ(flow.StartClicked().outcome, Outcome::kRefused) << where;
    EXPECT_EQ(disk_.MessageLines().back(), refusal) << where;
    EXPECT_EQ(Run(disk_, Verb::kUpgrade, user, false), Outcome::kRefused) << where;
    EXPECT_EQ(disk_.MessageLines().back(), refusal) << where;
    RestorePlan plan;
    const std::string name = Utf8ToCp949Text(user.layout.name);
    EXPECT_EQ(PlanRestore(installation, name, &plan).outcome, Outcome::kRefused) << where;
    std::vector<Path> undeleted;
    EXPECT_EQ(Restore(installation, &plan, &undeleted, true).outcome, Outcome::kRefused) << where;
    VerifyReport report;
    const Reply verified = Verify(installation, {name, ""}, &report);
    EXPECT_TRUE(verified.outcome == Outcome::kRefused && verified.reason() == Say::kUnsafeUserName)
        << where << ": verify answered " << static_cast<int>(verified.outcome);
    UpgradeDryRun dry_run;
    std::vector<PreflightProblem> problems;
    EXPECT_NE(
        CheckUser(installation, Utf8ToCp949Text(user.layout.name), "", dry_run, &problems).outcome,
        Outcome::kDone)
        << where;
    EXPECT_TRUE(disk_.Snapshot(app_dir_) == before) << where << " changed the disk";
  }

  // Every step lets go of what it held and ends with a start that goes on,
  // so what a held file kept pending (a swap, an earlier copy, a half copy)
  // is settled by the time a step ends, and the promises hold whole.
  void CheckPromises() {
    for (const Expected& user : users_) {
      const Tree folder = disk_.Snapshot(UserDir(user));
      EXPECT_TRUE(folder == user.folder) << user.layout.name << ": not as expected";
      for (const auto& [path, bytes] : folder) {
        EXPECT_FALSE(IsWorkPath(path)) << user.layout.name << ": left in the folder: " << path;
      }
      const Tree backup = disk_.Snapshot(BackupDir(user));
      EXPECT_TRUE(backup == user.backup) << user.layout.name << ": backup not as expected";
      EXPECT_FALSE(AtTarget(backup)) << user.layout.name << ": the backup holds 1.03 data";
      EXPECT_TRUE(Split(disk_.Snapshot(Place(ToolPlace::kKept, user))) == user.kept)
          << user.layout.name << ": kept copies not as expected";
    }
    for (const Expected& user : unsafe_) {
      EXPECT_TRUE(disk_.Snapshot(UserDir(user)) == user.folder) << user.layout.name << ": touched";
    }
    // Beside the users' backups only the tool's own folder, which holds
    // the listed users' run records and kept copies, and its other places
    // empty: no swap, new copy, earlier copy or copy being kept is left.
    const Path root = app_dir_.Normal();
    for (const auto& [name, content] : Split(disk_.Snapshot(BackupRoot(root)))) {
      EXPECT_TRUE(name == kToolFolderName || Listed(name)) << "upgrade_backup holds " << name;
    }
    for (const auto& [place, content] : Split(disk_.Snapshot(ToolFolder(root)))) {
      const bool kept =
          place == ToolPlaceName(ToolPlace::kRecords) || place == ToolPlaceName(ToolPlace::kKept);
      const bool known = std::any_of(std::begin(kToolPlaces), std::end(kToolPlaces),
                                     [&](ToolPlace each) { return place == ToolPlaceName(each); });
      EXPECT_TRUE(known && (kept || content.empty()))
          << "left in the tool's folder: " << place << "\\"
          << (content.empty() ? "" : content.begin()->first);
      for (const auto& [name, below] : kept ? Split(content) : std::map<std::string, Tree>()) {
        EXPECT_TRUE(Listed(name)) << "the tool's folder holds " << place << "\\" << name;
      }
    }
  }

  std::mt19937 random_;
  FaultPlatform disk_;
  Path app_dir_;
  std::vector<Expected> users_;
  std::vector<Expected> unsafe_;  // listed, but refused
  std::string steps_;
  int edits_ = 0;
};

void PlayHistory(unsigned seed) {
  History history(seed);
  std::mt19937 lengths(seed);
  history.Play(10 + static_cast<int>(lengths() % 21));
  if (::testing::Test::HasFailure()) {
    std::printf("seed %u failed; its steps:\n%s", seed, history.steps().c_str());
  }
}

TEST(LifecycleSweepTest, FixedSeedsKeepEveryPromise) {
  for (unsigned seed = 1; seed <= kFixedSeeds && !::testing::Test::HasFailure(); ++seed) {
    PlayHistory(seed);
  }
}

TEST(LifecycleSweepTest, NewSeedsFromTheEnvironment) {
  const char* count = std::getenv("DAYLEDGER_LIFECYCLE_SEEDS");
  if (count == nullptr) GTEST_SKIP() << "DAYLEDGER_LIFECYCLE_SEEDS=<n> plays n new seeds";
  std::random_device device;
  for (int i = 0; i < std::atoi(count) && !::testing::Test::HasFailure(); ++i) {
    const unsigned seed = device();
    std::printf("seed %u\n", seed);
    PlayHistory(seed);
  }
}

}  // namespace
}  // namespace dayledger
