// The commit on the real file system: what a replaced file keeps, what is
// refused before anything changes, and names at the length limit.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "commit/journal.h"
#include "digest/sha1.h"
#include "floor/installation.h"
#include "floor/words.h"
#include "schedule/schedule_cipher.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "support/native_files.h"
#include "support/opened_installation.h"
#include "support/upgrade_fixture.h"

// Every fsync of this program is counted on its way to the C library, so a
// flush that opens the file but never asks the system to write is seen.
namespace {
int fsync_calls = 0;
}  // namespace

extern "C" int fsync(int fd) {
  ++fsync_calls;
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  return real(fd);
}

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::InstallationBuilder;
using demo::UserSpec;

class CommitOnDiskTest : public testing::UpgradeFixture {
 protected:
  // Every entry under the folder: files by content, links by target.
  testing::NativeTree Tree(const std::string& relative) {
    return testing::SnapshotTree(NativeOf(relative));
  }
  fs::perms Permissions(const std::string& relative) {
    return fs::status(NativeOf(relative)).permissions() & fs::perms::all;
  }
};

TEST_F(CommitOnDiskTest, ReplacedFilesKeepTheirPermissionBits) {
  AddUsers({UserSpec{"u", "10100", "pw", 1, 1, 1}});
  const struct {
    const char* file;
    fs::perms perms;
  } cases[] = {
      {"users/u/profile.qbd", fs::perms::owner_read | fs::perms::owner_write},
      {"users/u/group.qbd", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read},
      {"users/u/anniversary/anniversary_user.qbd", fs::perms::owner_all | fs::perms::others_read},
  };
  for (const auto& c : cases) fs::permissions(NativeOf(c.file), c.perms);
  ASSERT_EQ(Upgrade("u", "pw"), Outcome::kDone);
  for (const auto& c : cases) {
    EXPECT_EQ(SplitLines(Read(c.file)).at(1), "10300") << c.file;
    EXPECT_EQ(Permissions(c.file), c.perms) << c.file;
  }
}

TEST_F(CommitOnDiskTest, LinkedFileIsRefusedBeforeAnythingChanges) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Write("elsewhere/real.qbd", "#group data#\r\n10200\r\n");
  fs::create_symlink(NativeOf("elsewhere/real.qbd"), NativeOf("users/u/groups/linked.qbd"));
  const auto before = Tree("users/u");
  ASSERT_EQ(Upgrade("u"), Outcome::kStopped);
  EXPECT_EQ(Messages().back(),
            "error:링크로 연결된 파일은 업그레이드할 수 없습니다: " + builder.AppDir().text() +
                "users\\u\\groups\\linked.qbd." + RecordNamed());
  EXPECT_EQ(Tree("users/u"), before);
  EXPECT_EQ(Read("elsewhere/real.qbd"), "#group data#\r\n10200\r\n");
}

TEST_F(CommitOnDiskTest, NamesAtTheLengthLimitAreReplacedInPlace) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  const std::string name = std::string(251, 'g') + ".qbd";  // 255 bytes, the longest a name may be
  Write("users/u/groups/" + name, "#group data#\r\n10200\r\n");
  ASSERT_EQ(Upgrade("u"), Outcome::kDone) << ::testing::PrintToString(Messages());
  EXPECT_EQ(Read("users/u/groups/" + name), "#group data#\r\n10300\r\n");
}

TEST_F(CommitOnDiskTest, EncipheredMonthWithLoneLfHeadLinesKeepsEveryEntry) {
  AddUsers({UserSpec{"u", "10100", "pw", 1, 1, 1}});
  // Its head lines end in LF alone, so the deciphered file has one line
  // fewer than it seems: the stamping step takes the first entry for the
  // version line, and the merge then rejects the file.
  const std::string plain = "#schedule data#\n10100\n2\r\nfirst entry\r\nsecond entry\r\n";
  Write("users/u/schedules/198501.qbsd",
        Encipher(plain, MakeScheduleKey(InstallationBuilder::DataKeyFor("pw"))));
  const auto before = Tree("users/u");
  ASSERT_EQ(Upgrade("u", "pw"), Outcome::kStopped);
  EXPECT_EQ(Tree("users/u"), before) << "no entry is overwritten";
  EXPECT_EQ(Tree("upgrade_backup/u"), before);
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(CommitOnDiskTest, RecoveryFinishesOrUndoesOnlyWhatNoLiveUpgradeHolds) {
  const std::string whole = EncodeJournal(Journal{{{".dlu-1", "x.qbd"}}, {}, {}, {""}});
  // As an earlier build wrote it: no size or digest of the new file.
  const std::string first_body = "dayledger journal 1\nR\t.dlu-1\tx.qbd\nF\t\n";
  const std::string first_format = first_body + "C\t" + HexDigest(first_body) + "\n";
  std::string changed_body = whole;
  changed_body[changed_body.find("x.qbd")] = 'y';  // the checksum line intact
  const std::string rolled_forward = "중단되었던 변경의 저장을 마저 완료하였습니다. (사용자 : u)";
  const std::string rolled_back =
      "중단되었던 변경을 취소하여 변경 전의 데이터로 두었습니다. (사용자 : u)";
  const Path old_lock = builder.AppDir() / "users" / "u" / kLockName;
  // What opening the installation now tells.
  const auto Notes = [&] {
    std::vector<Said> notes;
    (void)testing::OpenedOn(platform, builder.AppDir(), &notes);
    return RecoveryMessage(platform, notes);
  };
  const struct {
    std::string journal;
    std::string note;
    const char* x = "";              // x.qbd afterwards, "" for none
    bool earlier_lock_held = false;  // the lock an earlier build kept in the user's folder
  } cases[] = {
      {.journal = whole, .note = rolled_forward, .x = "new"},
      {.journal = first_format, .note = rolled_forward, .x = "new"},
      {.journal = whole.substr(0, whole.size() - 3), .note = rolled_back},
      {.journal = changed_body, .note = rolled_back},
      // A first line cut short names no format: torn, whatever it began.
      {.journal = "dayledger journal 3", .note = rolled_back},
      {.journal = whole, .note = rolled_forward, .x = "new", .earlier_lock_held = true},
  };
  AddUsers({UserSpec{"u", "10200", "", 0, 0, 0}});
  for (const auto& c : cases) {
    Write("users/u/.dlu-1", "new");
    Write("users/u/.dlu-journal", c.journal);
    Result<Lock> earlier = Lock();
    Result<UserLock> held = UserLock();
    if (c.earlier_lock_held) {
      earlier = platform.LockFile(old_lock);
    } else {
      held = installation.LockUser("u");
    }
    ASSERT_TRUE(earlier.ok() && held.ok());
    EXPECT_EQ(Notes(),
              "다른 곳에서 이 사용자의 데이터를 바꾸는 중이어서 복구하지 않았습니다. (사용자 : u)");
    EXPECT_TRUE(fs::exists(NativeOf("users/u/.dlu-journal"))) << "a live upgrade's journal stays";
    EXPECT_TRUE(fs::exists(NativeOf("users/u/.dlu-1")));
    EXPECT_EQ(fs::exists(NativeOf("users/u/.dlu-lock")), c.earlier_lock_held)
        << "never from its holder";
    *earlier = Lock();
    *held = UserLock();
    EXPECT_EQ(Notes(), c.note);
    EXPECT_EQ(fs::exists(NativeOf("users/u/x.qbd")) ? Read("users/u/x.qbd") : "", c.x);
    EXPECT_FALSE(fs::exists(NativeOf("users/u/.dlu-journal")));
    EXPECT_FALSE(fs::exists(NativeOf("users/u/.dlu-1")));
    EXPECT_FALSE(fs::exists(NativeOf("users/u/.dlu-lock"))) << "an earlier build's lock goes";
    EXPECT_TRUE(Notes().empty()) << "nothing left to do";
    fs::remove(NativeOf("users/u/x.qbd"));
  }
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(CommitOnDiskTest, EveryFlushReachesTheSystem) {
  AddUsers({UserSpec{"u", "10200", "", 0, 0, 0}});
  const Path folder = builder.AppDir() / "users" / "u";
  const struct {
    const char* what;
    std::function<Status()> flush;
  } cases[] = {
      {"file", [&] { return platform.SyncFile(folder / "profile.qbd"); }},
      {"folder", [&] { return platform.SyncFolder(folder); }},
  };
  for (const auto& c : cases) {
    const int before = fsync_calls;
    EXPECT_TRUE(c.flush().ok()) << c.what;
    EXPECT_EQ(fsync_calls - before, 1) << c.what;
  }
}

// A virus scanner that opens each new file to look at it refuses its flush
// for a moment: the backup's copies, the commit's new files and its journal
// are tried again, and the run goes through.
TEST_F(CommitOnDiskTest, NewFilesAScannerHoldsAMomentAreTriedAgain) {
  const struct {
    bool skip_backup;
    const char* held;  // the one file held, relative; "" for each file in turn
  } cases[] = {{false, ""}, {true, ""}, {true, "users/u/.dlu-journal"}};
  for (const auto& c : cases) {
    AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
    fs::remove_all(NativeOf("upgrade_backup"));
    ResetFlow();
    port.skip_backup = c.skip_backup;
    platform.denied_syncs = 3;
    platform.denied_sync_path = *c.held == '\0' ? "" : NativeOf(c.held);
    EXPECT_EQ(Upgrade("u"), Outcome::kDone) << c.held;
    EXPECT_EQ(platform.denied_syncs, 0) << c.held;
    EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "10300") << c.held;
  }
}

}  // namespace
}  // namespace dayledger
