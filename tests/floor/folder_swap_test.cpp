// A backup replaced whole by its new copy, and every state a kill, a power
// cut, a held file or a newer build leaves it in, settled from the record.
#include "floor/folder_swap.h"

#include <gtest/gtest.h>

#include <functional>

#include "floor/copy_tree.h"
#include "platform/framework_error.h"
#include "state/file_names.h"
#include "support/fault_platform.h"

namespace dayledger {
namespace {

using testing::FaultPlatform;
using Tree = std::map<std::string, std::string>;

const Path kRoot("\\b");
const FolderSwap kSwap{kRoot / "u", kRoot / "t" / "new" / "u", kRoot / "t" / "old" / "u",
                       kRoot / "t" / "swaps" / "u"};

// The earlier backup holds "old", the new copy "new", in one file each and
// one file only the earlier one has.
void LayOut(FaultPlatform& disk, bool earlier) {
  for (const char* folder : {"\\b", "\\b\\t", "\\b\\t\\new", "\\b\\t\\new\\u"}) {
    (void)disk.CreateDirectory(Path(folder));
  }
  (void)disk.WriteFile(kSwap.made / "f", "new");
  if (earlier) {
    (void)disk.CreateDirectory(kSwap.current);
    (void)disk.WriteFile(kSwap.current / "f", "old");
    (void)disk.WriteFile(kSwap.current / "only-old", "old");
  }
  for (const Path& folder :
       {Path("\\"), kRoot, kRoot / "t", kRoot / "t" / "new", kSwap.made, kSwap.current}) {
    (void)disk.SyncFolder(folder);
  }
  for (const Path& file : {kSwap.made / "f", kSwap.current / "f", kSwap.current / "only-old"}) {
    (void)disk.SyncFile(file);
  }
}

const Tree kNew = {{"f", "new"}};
const Tree kOld = {{"f", "old"}, {"only-old", "old"}};

// A replacement cut at the given rename (1: the earlier copy aside, 2: the
// new copy into its place) by a kill, a power cut, or a failure; then what
// the start after it meets, and the settling.
TEST(FolderSwapTest, EveryInterruptedReplacementSettlesToOneWholeBackup) {
  const struct {
    const char* name;
    bool earlier;                                   // an earlier backup is there
    char cut;                                       // 'k' kill, 'p' power cut, 'f' failure, 0 none
    int at_rename;                                  // the rename the cut falls on
    std::function<void(FaultPlatform&)> meanwhile;  // what the start after meets
    StatusKind settled;                             // what the settling answers
    Tree backup;                                    // the backup after the settling
  } cases[] = {
      {"replaced", true, 0, 0, nullptr, StatusKind::kOk, kNew},
      {"first backup", false, 0, 0, nullptr, StatusKind::kOk, kNew},
      {"killed before the earlier copy moved", true, 'k', 1, nullptr, StatusKind::kOk, kNew},
      {"killed between the moves", true, 'k', 2, nullptr, StatusKind::kOk, kNew},
      {"power cut between the moves", true, 'p', 2, nullptr, StatusKind::kOk, kNew},
      {"failed between the moves", true, 'f', 2, nullptr, StatusKind::kOk, kOld},
      // The start after the kill made the backup's folder again, empty.
      {"killed between, an empty backup folder made since", true, 'k', 2,
       [](FaultPlatform& disk) { (void)disk.CreateDirectory(kSwap.current); }, StatusKind::kOk,
       kNew},
      // A scanner holds the new copy: nothing moves, nothing goes.
      {"killed between, the new copy held",
       true,
       'k',
       2,
       [](FaultPlatform& disk) { disk.unreadable = {(kSwap.made / "f").text()}; },
       StatusKind::kRecoveryHeld,
       {}},
      // A new copy that is not what its record lists is never put in place.
      {"killed between, the new copy changed since",
       true,
       'k',
       2,
       [](FaultPlatform& disk) { (void)disk.WriteFile(kSwap.made / "f", "other"); },
       StatusKind::kChangeLost,
       {}},
      {"killed between, a record of a newer format",
       true,
       'k',
       2,
       [](FaultPlatform& disk) { (void)disk.WriteFile(kSwap.record, "dayledger swap 2\nA\t1\n"); },
       StatusKind::kNewerFormat,
       {}},
      // A half copy, with no record at all, goes.
      {"half copy", true, 0, -1, nullptr, StatusKind::kOk, kOld},
  };
  for (const auto& c : cases) {
    FaultPlatform disk;
    LayOut(disk, c.earlier);
    std::vector<Path> left;
    if (c.at_rename >= 0) {
      disk.operations = 0;
      disk.kinds.clear();
      const std::function<Status()> replace = [&] { return ReplaceFolder(disk, kSwap, &left); };
      if (c.cut != 0) {
        // Where the rename falls: counted on a copy first.
        FaultPlatform probe = disk;
        probe.operations = 0;
        (void)ReplaceFolder(probe, kSwap, &left);
        size_t at = 0;
        for (int n = 0; n < c.at_rename; ++n) at = probe.kinds.find('R', n == 0 ? 0 : at + 1);
        ASSERT_NE(at, std::string::npos) << c.name;
        (c.cut == 'f' ? disk.fail_at : disk.crash_before) = static_cast<int>(at) + 1;
        try {
          (void)replace();
        } catch (const testing::SimulatedCrash&) {
        }
        c.cut == 'k' ? disk.Kill() : c.cut == 'p' ? disk.Crash() : void(disk.fail_at = 0);
      } else {
        ASSERT_TRUE(replace().ok()) << c.name;
      }
    }
    if (c.meanwhile) c.meanwhile(disk);
    const Tree before = disk.Snapshot(kRoot);
    const Status settled = SettleSwap(disk, kSwap, &left);
    EXPECT_EQ(settled.kind, c.settled) << c.name;
    if (!settled.ok()) {
      EXPECT_TRUE(disk.Snapshot(kRoot) == before) << c.name << ": a stopped settling changed it";
      continue;
    }
    EXPECT_TRUE(disk.Snapshot(kSwap.current) == c.backup) << c.name;
    EXPECT_TRUE(disk.Snapshot(kRoot / "t" / "old").empty() && disk.Snapshot(kSwap.made).empty() &&
                disk.Snapshot(kRoot / "t" / "swaps").empty())
        << c.name << ": something of the swap left";
    EXPECT_TRUE(left.empty()) << c.name;
  }
}

// An earlier copy that cannot be removed never blocks a later backup: it
// waits, named, and goes once let go.
TEST(FolderSwapTest, AnEarlierCopyThatCannotGoWaitsNamed) {
  FaultPlatform disk;
  LayOut(disk, true);
  const Path stuck = kSwap.asides / "1" / "only-old";
  disk.failing_delete_of = stuck.text();
  std::vector<Path> left;
  ASSERT_TRUE(ReplaceFolder(disk, kSwap, &left).ok());
  EXPECT_EQ(left, std::vector<Path>{stuck});
  EXPECT_TRUE(disk.Snapshot(kSwap.current) == kNew);
  // The next backup while it is still held.
  left.clear();
  ASSERT_TRUE(SettleSwap(disk, kSwap, &left).ok());
  (void)disk.CreateDirectory(kSwap.made);
  (void)disk.WriteFile(kSwap.made / "f", "newer");
  ASSERT_TRUE(ReplaceFolder(disk, kSwap, &left).ok());
  EXPECT_TRUE(disk.Snapshot(kSwap.current) == (Tree{{"f", "newer"}}));
  disk.failing_delete_of.clear();
  left.clear();
  ASSERT_TRUE(SettleSwap(disk, kSwap, &left).ok());
  EXPECT_TRUE(left.empty());
  EXPECT_TRUE(disk.Snapshot(kRoot / "t" / "old").empty());
}

// A half copy that will not go, beside a record torn as it was written:
// the record goes, so that the half copy is only named and no later
// opening stops for it.
TEST(FolderSwapTest, AHalfCopyThatCannotGoLeavesNoTornRecord) {
  FaultPlatform disk;
  LayOut(disk, true);
  (void)disk.CreateDirectory(kSwap.record.Parent());
  (void)disk.WriteFile(kSwap.record, "dayledger swap 1\nA\t1\n");
  disk.failing_delete_of = (kSwap.made / "f").text();
  std::vector<Path> left;
  EXPECT_FALSE(SettleSwap(disk, kSwap, &left).ok());
  EXPECT_FALSE(SwapPending(disk, kSwap));
  EXPECT_TRUE(disk.Snapshot(kSwap.current) == kOld);
}

// A folder holding a journal is a change not finished: no copy of it is
// made, half old and half new, to stand as a backup.
TEST(FolderSwapTest, AFolderWithAJournalIsNeverCopied) {
  FaultPlatform disk;
  LayOut(disk, true);
  (void)disk.WriteFile(kSwap.current / kJournalName, "dayledger journal");
  EXPECT_EQ(CopyTreeAs(disk, kSwap.current, kRoot / "copy").kind, StatusKind::kRecoveryHeld);
}

}  // namespace
}  // namespace dayledger
