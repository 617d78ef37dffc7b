// What an opening makes of what earlier runs left beside the backups: users
// whose names look like the tool's own, an earlier build's swap, a swap cut
// by a kill and met again held, a half kept copy, a user another program
// holds; each against the backups as they must be after.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "demo/installation_builder.h"
#include "floor/installation.h"
#include "platform/cp949_codec.h"
#include "presenter/message_boxes.h"
#include "restore/restore.h"
#include "support/fault_platform.h"
#include "support/headless_view.h"
#include "support/opened_installation.h"
#include "support/test_platform.h"
#include "upgrade/upgrade_runner.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using testing::FaultPlatform;
using Tree = std::map<std::string, std::string>;

class Layout {
 public:
  // Laid out once for each set of names, and copied in memory after.
  explicit Layout(const std::vector<std::string>& names) {
    static std::map<std::vector<std::string>, std::pair<FaultPlatform, Path>> laid_out;
    if (laid_out.count(names) == 0) {
      testing::TestPlatform temp;
      InstallationBuilder builder(temp.temp_dir() + "/app");
      builder.WriteTemplates();
      for (const std::string& name : names) builder.WriteUser(UserSpec{name, "10200", "", 1, 1, 1});
      builder.WriteUserList(names);
      FaultPlatform disk;
      disk.Load(builder.root(), builder.AppDir());
      laid_out.emplace(names, std::make_pair(disk, builder.AppDir()));
    }
    std::tie(disk, app_dir) = laid_out.at(names);
  }

  Path UserDir(const std::string& name) const { return app_dir / "users" / name; }
  Path Backups() const { return app_dir.Normal() / "upgrade_backup"; }
  Tree Backup(const std::string& name) { return disk.Snapshot(Backups() / name); }

  // The terminal program's upgrade of the user, cut by a kill before the
  // given operation of its backup swap's renames ('R' after the copy): 0 for none.
  Outcome Upgrade(const std::string& name, int killed_at_swap_rename = 0) {
    int crash_before = 0;
    if (killed_at_swap_rename > 0) {
      FaultPlatform probe = disk;
      Run(probe, name, 0);
      size_t at = probe.kinds.find("WSF");  // the swap record flushed
      for (int n = 0; n < killed_at_swap_rename; ++n) at = probe.kinds.find('R', at + 1);
      crash_before = static_cast<int>(at) + 1;
    }
    const Outcome outcome = Run(disk, name, crash_before);
    if (crash_before > 0) disk.Kill();
    return crash_before > 0 ? Outcome::kStopped : outcome;
  }

  FaultPlatform disk;
  Path app_dir;

 private:
  Outcome Run(FaultPlatform& on, const std::string& name, int crash_before) {
    Installation installation = testing::OpenedOn(on, app_dir);
    on.operations = 0;
    on.kinds.clear();
    on.crash_before = crash_before;
    testing::HeadlessView log;
    UpgradeTool tool(installation, log);
    tool.LoadUsers();
    int row = 0;
    while (tool.ShowUser(tool.NameAt(row)).view->user != name) ++row;
    BoxedNotices answered(installation.platform(), on);
    try {
      return RunUpgrade(tool, {tool.NameAt(row), "", false, true, true}, answered).outcome;
    } catch (const testing::SimulatedCrash&) {  // the kill ends the run there
      return Outcome::kStopped;
    }
  }
};

TEST(InstallationRecoveryTest, WhatEarlierRunsLeftIsSettledOnlyFromWhatItProves) {
  const struct {
    const char* name;
    std::vector<std::string> users;
    std::function<void(Layout&)> history;  // the runs before the opening
    bool stopped;                          // the opening stops, changing nothing
    std::function<void(Layout&)> after;    // what must hold after it
  } cases[] = {
      // A user whose name is an earlier build's work name keeps its backup.
      {"a user named like an earlier build's new copy",
       {".dlu-new-kim"},
       [](Layout& l) { ASSERT_EQ(l.Upgrade(".dlu-new-kim"), Outcome::kDone); },
       false,
       [](Layout& l) { EXPECT_EQ(l.Backup(".dlu-new-kim").count("profile.qbd"), 1u); }},
      // ... and never becomes another user's backup.
      {"a user named like kim's earlier backup aside",
       {"kim", ".dlu-old-kim"},
       [](Layout& l) { ASSERT_EQ(l.Upgrade(".dlu-old-kim"), Outcome::kDone); },
       false,
       [](Layout& l) {
         EXPECT_TRUE(l.Backup("kim").empty());
         EXPECT_EQ(l.Backup(".dlu-old-kim").count("profile.qbd"), 1u);
       }},
      // A user named as kim's lock once was locks kim out no more.
      {"a user named like kim's lock file",
       {"kim", "kim.lock"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim.lock"), Outcome::kDone);
         ASSERT_EQ(l.Upgrade("kim"), Outcome::kDone);
       },
       false,
       [](Layout& l) {
         EXPECT_EQ(l.Backup("kim").count("profile.qbd"), 1u);
         EXPECT_EQ(l.Backup("kim.lock").count("profile.qbd"), 1u);
       }},
      // An earlier build cut between its renames; a start made the backup's
      // folder again, empty. The earlier backup is put back, never deleted.
      {"an earlier build's swap cut between its renames",
       {"kim"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim"), Outcome::kDone);
         ASSERT_TRUE(l.disk.RenameFile(l.Backups() / "kim", l.Backups() / ".dlu-old-kim").ok());
         ASSERT_TRUE(l.disk.CreateDirectory(l.Backups() / "kim").ok());
       },
       false,
       [](Layout& l) { EXPECT_EQ(l.Backup("kim").count("profile.qbd"), 1u); }},
      // ... where that empty folder will not go (a window holds it open),
      // it is never taken for the swap's new copy: both copies stay aside.
      {"an earlier build's swap cut between its renames, the empty folder held",
       {"kim"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim"), Outcome::kDone);
         ASSERT_TRUE(l.disk.RenameFile(l.Backups() / "kim", l.Backups() / ".dlu-old-kim").ok());
         ASSERT_TRUE(l.disk.CreateDirectory(l.Backups() / "kim").ok());
         l.disk.failing_delete_of = (l.Backups() / "kim").Normal().text();
       },
       false,
       [](Layout& l) {
         EXPECT_EQ(l.disk.Snapshot(l.Backups() / ".dlu-old-kim").count("profile.qbd"), 1u);
       }},
      // Killed between the swap's renames, and the new copy held at the
      // next start: the opening stops and no verb goes on past it.
      {"a swap killed between its renames, its new copy held",
       {"kim"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim", 2), Outcome::kStopped);
         l.disk.unreadable = {(l.Backups() / ".dlu" / "new" / "kim" / "profile.qbd").text()};
       },
       true,
       nullptr},
      // Let go, the next opening finishes the move.
      {"a swap killed between its renames, then let go",
       {"kim"},
       [](Layout& l) { ASSERT_EQ(l.Upgrade("kim", 2), Outcome::kStopped); },
       false,
       [](Layout& l) {
         EXPECT_TRUE(l.Backup("kim") == l.disk.Snapshot(l.UserDir("kim")));
         EXPECT_TRUE(l.disk.Snapshot(l.Backups() / ".dlu" / "old").empty());
       }},
      // A record a newer build wrote is left to that build.
      {"a swap record of a newer format",
       {"kim"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim", 2), Outcome::kStopped);
         (void)l.disk.WriteFile(l.Backups() / ".dlu" / "swaps" / "kim", "dayledger swap 9\n");
       },
       true,
       nullptr},
      // Another program makes kim's backup now: its half copy is its own.
      {"a half copy whose user another program holds",
       {"kim"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim"), Outcome::kDone);
         (void)l.disk.CreateDirectory(l.Backups() / ".dlu" / "new");
         (void)l.disk.CreateDirectory(l.Backups() / ".dlu" / "new" / "kim");
         (void)l.disk.WriteFile(l.Backups() / ".dlu" / "new" / "kim" / "profile.qbd", "half");
         static Result<Lock> held = Lock();
         (void)l.disk.CreateDirectory(l.Backups() / ".dlu" / "locks");
         held = l.disk.LockFile(l.Backups() / ".dlu" / "locks" / "kim");
         ASSERT_TRUE(held.ok());
       },
       false,
       [](Layout& l) {
         EXPECT_EQ(l.disk.Snapshot(l.Backups() / ".dlu" / "new" / "kim").size(), 1u);
       }},
      // A restore cut while it copied the folder it keeps leaves no copy
      // that looks whole.
      {"a restore cut while keeping the current folder",
       {"kim"},
       [](Layout& l) {
         ASSERT_EQ(l.Upgrade("kim"), Outcome::kDone);
         const Path keeping = l.Backups() / ".dlu" / "keeping";
         (void)l.disk.CreateDirectory(keeping);
         (void)l.disk.CreateDirectory(keeping / "kim");
         (void)l.disk.WriteFile(keeping / "kim" / "profile.qbd", "half");
       },
       false,
       [](Layout& l) {
         EXPECT_TRUE(l.disk.Snapshot(l.Backups() / ".dlu" / "keeping").empty());
         EXPECT_TRUE(l.disk.Snapshot(l.Backups() / ".dlu" / "kept").empty());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Layout layout(c.users);
    c.history(layout);
    if (::testing::Test::HasFatalFailure()) return;
    const Tree before = layout.disk.Snapshot(layout.app_dir);
    const bool stopped = !testing::Reopen(layout.disk, layout.app_dir);
    EXPECT_EQ(stopped, c.stopped);
    if (stopped) {
      EXPECT_TRUE(layout.disk.Snapshot(layout.app_dir) == before) << "changed";
      continue;
    }
    c.after(layout);
  }
}

}  // namespace
}  // namespace dayledger
