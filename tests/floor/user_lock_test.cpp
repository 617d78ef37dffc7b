// A user's lock taken while another program lets go of its own.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/upgrade_fixture.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using UserLockTest = testing::UpgradeFixture;

// The other program removes the empty folders its lock needed just after
// this one found them there: they are made again and the lock is taken,
// and letting go of it takes them away once more.
TEST_F(UserLockTest, FoldersAnotherProgramRemovesAsTheLockIsTakenAreMadeAgain) {
  AddUsers({demo::UserSpec{"u", "10200", "", 1, 1, 1}});
  ASSERT_TRUE(installation.MakePlace(ToolPlace::kLocks).ok());
  platform.before_lock = [&] { fs::remove_all(NativeOf("upgrade_backup")); };
  Result<UserLock> lock = installation.LockUser("u");
  ASSERT_TRUE(lock.ok()) << lock.status().path.text();
  installation.Release(&*lock);
  EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup")));
}

}  // namespace
}  // namespace dayledger
